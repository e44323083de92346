// The small modal progress dialog (template 1011). In poll mode its worker
// fetches the four start-up groups into the card object's caches; in
// display mode the worker only runs the bar, as a short animation for page
// reads. Either way the worker closes the dialog; the operator cannot.
#ifndef T740_CONSOLE_POLL_PROGRESS_DLG_H
#define T740_CONSOLE_POLL_PROGRESS_DLG_H

#include <QDialog>
#include <atomic>
#include <memory>
#include <thread>

class QProgressBar;

namespace Ui {
class CPollProgressDlg;
}

namespace t740 {

class CCardObject;
class Pause;

class CPollProgressDlg : public QDialog {
 public:
  explicit CPollProgressDlg(QWidget* parent = nullptr);  // display mode
  CPollProgressDlg(int mode, QWidget* parent);           // nonzero: poll mode
  // Waits for the worker; a worker still running is cut short first.
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
  void OnInitDialog();
  void StartWorker();
  void StopWorker();
  // Blocking calls into the UI thread; false once the dialog is going away.
  bool SetBarPosition(int position);
  bool CloseFromWorker();
  void Sleep(int milliseconds) const;

  std::unique_ptr<Ui::CPollProgressDlg> ui_;
  QProgressBar* progress_;
  int mode_;
  CCardObject* card_ = nullptr;
  Pause* pause_ = nullptr;
  bool closingByWorker_ = false;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> workerDone_{true};
  std::thread worker_;
};

}  // namespace t740

#endif
