#include "console/poll_progress_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>
#include <QShowEvent>
#include <chrono>

#include "boundary/card_object.h"
#include "boundary/control_ids.h"
#include "boundary/plugin_fonts.h"
#include "console/start_up_poll.h"
#include "ui_poll_progress_dlg.h"

namespace t740 {

CPollProgressDlg::CPollProgressDlg(QWidget* parent) : CPollProgressDlg(0, parent) {}

CPollProgressDlg::CPollProgressDlg(int mode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      ui_(std::make_unique<Ui::CPollProgressDlg>()),
      mode_(mode) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  ApplyTemplateFont(this, 1011);
  progress_ = ui_->id1008;
  setFixedSize(size());
}

CPollProgressDlg::~CPollProgressDlg() {
  StopWorker();
}

void CPollProgressDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A worker that has closed the dialog only finishes its last pause; a new
  // showing gets a worker of its own (StartWorker waits for the old one).
  if (!event->spontaneous() && (workerDone_ || closingByWorker_)) OnInitDialog();
}

void CPollProgressDlg::OnInitDialog() {
  progress_->setRange(0, kPollSteps);
  progress_->setValue(0);
  StartWorker();
}

void CPollProgressDlg::StartWorker() {
  if (worker_.joinable()) worker_.join();
  card_ = CurrentCard();
  pause_ = card_ ? &card_->Pauses() : &RealPause();
  closingByWorker_ = false;
  stopping_ = false;
  workerDone_ = false;
  worker_ = std::thread([this] {
    if (mode_ != 0) {
      PollThreadProc(this);
    } else {
      ProgressThreadProc(this);
    }
    workerDone_ = true;
  });
}

void CPollProgressDlg::StopWorker() {
  if (!worker_.joinable()) return;
  stopping_ = true;
  // A worker blocked in a call into this thread is released by dropping the
  // call: Qt wakes the caller of a blocking call whose event is discarded.
  while (!workerDone_) {
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker_.join();
}

void CPollProgressDlg::closeEvent(QCloseEvent* event) {
  if (!closingByWorker_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void CPollProgressDlg::reject() {
  if (closingByWorker_) QDialog::reject();
}

bool CPollProgressDlg::SetBarPosition(int position) {
  if (stopping_) return false;
  QMetaObject::invokeMethod(
      this, [this, position] { progress_->setValue(position); }, Qt::BlockingQueuedConnection);
  return !stopping_;
}

bool CPollProgressDlg::CloseFromWorker() {
  if (stopping_) return false;
  QMetaObject::invokeMethod(
      this,
      [this] {
        closingByWorker_ = true;
        close();
      },
      Qt::BlockingQueuedConnection);
  return !stopping_;
}

void CPollProgressDlg::Sleep(int milliseconds) const {
  pause_->Sleep(milliseconds);
}

int CPollProgressDlg::PollThreadProc(CPollProgressDlg* dialog) {
  dialog->Sleep(200);
  CCardObject* card = dialog->card_;
  const IdentifierFields fields = card ? SplitCardAddress(card->CardAddress()) : IdentifierFields{};
  std::array<std::string, kPollReads> results;
  for (int step = 0; step < kPollSteps; ++step) {
    // A dialog going away before the poll is complete gets no half poll.
    if (!dialog->SetBarPosition(step)) return 0;
    if (const PollRead* read = PollReadAt(step)) {
      if (card) {
        results[static_cast<size_t>(read - PollReads().data())] =
            FetchPollGroup(*card, fields, read->group);
      }
      dialog->Sleep(1);
    }
    dialog->Sleep(1);
  }
  if (card) StorePollResults(*card, results);
  dialog->Sleep(200);
  dialog->CloseFromWorker();
  dialog->Sleep(100);
  return 0;
}

int CPollProgressDlg::ProgressThreadProc(CPollProgressDlg* dialog) {
  dialog->Sleep(200);
  for (int step = 0; step < kPollSteps; ++step) {
    if (!dialog->SetBarPosition(step)) return 0;
    dialog->Sleep(0);
  }
  dialog->Sleep(200);
  dialog->CloseFromWorker();
  dialog->Sleep(100);
  return 0;
}

}  // namespace t740
