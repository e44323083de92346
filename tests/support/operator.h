// A scripted operator for dialog tests: it sits in the event loop and acts
// on whatever modal window is on top, so a test can call code that blocks
// in QDialog::exec() or a message box and still drive it.
//
// How to use it (see also dialog_fixture.h and controls.h):
//
//   namespace sd = ids::shield_dialog;
//   t740::test::Operator op;                       // one per test, on the UI thread
//   op.OnDialog(sd::kTemplate, [](QWidget* dlg) {  // when the dialog is modal:
//     Click(dlg, sd::kSelectAll);                  //   tick "select all"
//     Click(dlg, sd::kOk);                         //   press OK (ends the modal loop)
//   });
//   op.AcceptMessage();                            // then OK the next message box
//   RunTheCodeThatShowsThem();                     // blocks until both are done
//   EXPECT_TRUE(op.Done());
//   EXPECT_EQ(op.Messages(), (std::vector<std::string>{"环回控制设置成功"}));
//
// Steps run one at a time, in the order queued, each the first time the
// active modal widget matches it; a step that does not close its window may
// be followed by further steps for the same window. With
// AcceptAllMessages() every message box that no step waits for is recorded
// and OK'd, so a test only needs to look at Messages() afterwards.
//
// Texts: Messages() gives UTF-8 (compare with readable literals),
// MessagesGbk() the GBK bytes the plug-in passed in.
//
// Every modal window shown is also noted by objectName (ModalsShown()), so
// a test can tell whether e.g. the progress dialog appeared even if it was
// too quick for a step. A modal window that no step handles within
// the patience (10 s unless set) is closed and reported as a test failure,
// so a broken script fails instead of hanging.
//
// Qt tests link t740_dialog_test_support, whose main() runs gtest on the
// offscreen platform with a QApplication, Chinese system locale; register
// them with t740_discover_dialog_tests(<target>) so that tests whose name
// contains "English" run again with an English system locale.
#ifndef T740_TESTS_SUPPORT_OPERATOR_H
#define T740_TESTS_SUPPORT_OPERATOR_H

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QMessageBox;
class QWidget;

namespace t740::test {

class Operator : public QObject {
 public:
  using Match = std::function<bool(QWidget* modal)>;
  using Step = std::function<void(QWidget* modal)>;

  Operator();
  ~Operator() override;
  Operator(const Operator&) = delete;
  Operator& operator=(const Operator&) = delete;

  // Runs `step` once, the first time the active modal widget satisfies `when`.
  void Then(Match when, Step step);
  // Like Then, but ahead of every step queued so far: for a step that
  // needs a follow-up before the rest of the script goes on.
  void Next(Match when, Step step);
  // Runs `step` on the next modal window with this objectName.
  void OnDialog(std::string_view objectName, Step step);
  // Runs `step` on the next modal window of this template (e.g.
  // ids::shield_dialog::kTemplate).
  void OnDialog(int templateId, Step step);
  // Runs `step` on the next message box.
  void OnMessageBox(std::function<void(QMessageBox*)> step);
  // Records the next message box's text and presses its OK button.
  void AcceptMessage();
  // Records and OKs every message box that no queued step is waiting for.
  void AcceptAllMessages(bool on = true) { acceptAll_ = on; }

  void SetPatience(std::chrono::milliseconds patience) { patience_ = patience; }

  // True when every queued step has run.
  bool Done() const { return steps_.empty(); }
  size_t PendingSteps() const { return steps_.size(); }

  // Texts of the message boxes OK'd by AcceptMessage / AcceptAllMessages.
  std::vector<std::string> Messages() const;
  std::vector<std::string> MessagesGbk() const;
  // objectNames of the modal windows shown since construction, in order.
  std::vector<std::string> ModalsShown() const;
  size_t CountShown(std::string_view objectName) const;
  size_t CountShown(int templateId) const;
  void ClearRecords();

  // Records the box's text and presses OK; usable inside any step.
  void Accept(QMessageBox* box);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Pending {
    Match when;
    Step step;
  };

  void Tick();
  void RunStep(Pending pending, QWidget* modal);
  void HandleUnattended(QWidget* modal);

  std::deque<Pending> steps_;
  bool acceptAll_ = false;
  bool stepQueued_ = false;
  std::chrono::milliseconds patience_{10000};
  QWidget* unattended_ = nullptr;
  std::chrono::steady_clock::time_point unattendedSince_;
  QStringList messages_;
  QStringList shown_;
  QTimer timer_;
};

// The modal widget on top, or null when no modal loop runs.
QWidget* ActiveModal();
bool IsMessageBox(QWidget* widget);

}  // namespace t740::test

#endif
