// The small modal progress dialog (template 1011). In poll mode its worker
// fetches the four start-up groups into the card object's caches; in
// display mode the worker only runs the bar, as a short animation for page
// reads. Either way the worker closes the dialog; the operator cannot.
#ifndef T740_WIDGETS_POLL_PROGRESS_DLG_H
#define T740_WIDGETS_POLL_PROGRESS_DLG_H

#include <QDialog>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "core/card/pause.h"

class QProgressBar;

namespace Ui {
class CPollProgressDlg;
}

namespace t740 {

class CCardObject;

class CPollProgressDlg : public QDialog {
 public:
  // The card whose request function and pauses the worker uses; none for a
  // display that only runs the bar with real pauses.
  explicit CPollProgressDlg(CCardObject* card, QWidget* parent = nullptr);  // display mode
  CPollProgressDlg(int mode, CCardObject* card, QWidget* parent);           // nonzero: poll
  // A worker that has closed the dialog finishes its last pause on its own;
  // one still running is cut short and waited for.
  ~CPollProgressDlg() override;

  int Mode() const { return mode_; }

  // Escape and other cancel paths end the dialog only when the worker
  // closes it.
  void reject() override;

  static int PollThreadProc(CPollProgressDlg* dialog);
  static int ProgressThreadProc(CPollProgressDlg* dialog);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // What the worker and the dialog share; the worker keeps it after the
  // dialog has gone.
  struct WorkerLink {
    std::atomic<bool> stopping{false};
    std::atomic<bool> done{false};
  };

  void OnInitDialog();
  void StartWorker();
  void EndWorker();
  void StopWorker();
  bool WorkerDone() const { return !link_ || link_->done; }
  // Blocking calls into the UI thread; false once the dialog is going away.
  bool SetBarPosition(int position);
  void MoveBar(int position);
  // The worker's last use of the dialog: once the close has run, the
  // dialog may be destroyed at any moment.
  bool CloseFromWorker();
  // The worker's pauses, for its whole run.
  PauseRun Pauses() const { return PauseRun(*pause_); }

  std::unique_ptr<Ui::CPollProgressDlg> ui_;
  QProgressBar* progress_;
  int mode_;
  CCardObject* card_ = nullptr;
  Pause* pause_ = nullptr;
  bool closingByWorker_ = false;
  std::shared_ptr<WorkerLink> link_;
  static constexpr std::chrono::milliseconds kBarFrame{16};
  std::chrono::steady_clock::time_point barPainted_;
  std::thread worker_;
};

}  // namespace t740

#endif
