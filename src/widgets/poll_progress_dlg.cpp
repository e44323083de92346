#include "widgets/poll_progress_dlg.h"
#include "ids/progress_dialog_ids.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>
#include <QShowEvent>
#include <chrono>

#include "core/card/card_app.h"
#include "core/card/card_object.h"
#include "core/console/start_up_poll.h"
#include "ui_poll_progress_dlg.h"
#include "widgets/control_ids.h"
#include "widgets/plugin_fonts.h"

namespace t740 {

CPollProgressDlg::CPollProgressDlg(CCardObject* card, QWidget* parent)
    : CPollProgressDlg(0, card, parent) {}

CPollProgressDlg::CPollProgressDlg(int mode, CCardObject* card, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      ui_(std::make_unique<Ui::CPollProgressDlg>()),
      mode_(mode),
      card_(card) {
  ui_->setupUi(this);
  ApplyControlIds(this);
  ApplyTemplateFont(this, ids::progress_dialog::kTemplate);
  progress_ = ControlById<QProgressBar>(this, ids::progress_dialog::kBar);
  setFixedSize(size());
}

CPollProgressDlg::~CPollProgressDlg() {
  EndWorker();
}

void CPollProgressDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A worker that has closed the dialog only finishes its last pause; a new
  // showing gets a worker of its own.
  if (!event->spontaneous() && (WorkerDone() || closingByWorker_)) OnInitDialog();
}

void CPollProgressDlg::OnInitDialog() {
  progress_->setRange(0, kPollSteps);
  progress_->setValue(0);
  StartWorker();
}

void CPollProgressDlg::StartWorker() {
  EndWorker();
  pause_ = card_ ? &card_->Pauses() : &RealPause();
  closingByWorker_ = false;
  link_ = std::make_shared<WorkerLink>();
  const bool poll = mode_ != 0;
  worker_ = std::thread([this, poll, link = link_] {
    if (poll) {
      PollThreadProc(this);
    } else {
      ProgressThreadProc(this);
    }
    link->done = true;
  });
}

void CPollProgressDlg::EndWorker() {
  if (!worker_.joinable()) return;
  if (closingByWorker_ || link_->done) {
    CCardApp::Instance().Workers().Adopt(
        std::move(worker_), std::shared_ptr<const std::atomic<bool>>(link_, &link_->done));
    return;
  }
  StopWorker();
}

void CPollProgressDlg::StopWorker() {
  link_->stopping = true;
  // A worker blocked in a call into this thread is released by dropping the
  // call: Qt wakes the caller of a blocking call whose event is discarded.
  while (!link_->done) {
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
  if (link_->stopping) return false;
  QMetaObject::invokeMethod(
      this, [this, position] { MoveBar(position); }, Qt::BlockingQueuedConnection);
  return !link_->stopping;
}

// The bar would repaint at once inside the worker's synchronous call, up to
// 150 times a showing, and hold the worker that long. It is painted with
// the window's next paint instead, once a frame and at the last step.
void CPollProgressDlg::MoveBar(int position) {
  progress_->setAttribute(Qt::WA_UpdatesDisabled, true);
  progress_->setValue(position);
  progress_->setAttribute(Qt::WA_UpdatesDisabled, false);
  const auto now = std::chrono::steady_clock::now();
  if (position == kPollSteps - 1 || now - barPainted_ >= kBarFrame) {
    barPainted_ = now;
    progress_->update();
  }
}

bool CPollProgressDlg::CloseFromWorker() {
  const std::shared_ptr<WorkerLink> link = link_;
  if (link->stopping) return false;
  QMetaObject::invokeMethod(
      this,
      [this] {
        closingByWorker_ = true;
        close();
      },
      Qt::BlockingQueuedConnection);
  return !link->stopping;
}

int CPollProgressDlg::PollThreadProc(CPollProgressDlg* dialog) {
  PauseRun pauses = dialog->Pauses();
  pauses.Sleep(200);
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
      // The host's time is not the poll's: the pause after it is whole.
      pauses.Restart();
      pauses.Sleep(1);
    }
    pauses.Sleep(1);
  }
  if (card) StorePollResults(*card, results);
  pauses.Sleep(200);
  if (!dialog->CloseFromWorker()) return 0;
  pauses.Sleep(100);
  return 0;
}

int CPollProgressDlg::ProgressThreadProc(CPollProgressDlg* dialog) {
  PauseRun pauses = dialog->Pauses();
  pauses.Sleep(200);
  for (int step = 0; step < kPollSteps; ++step) {
    if (!dialog->SetBarPosition(step)) return 0;
    pauses.Sleep(0);
  }
  pauses.Sleep(200);
  if (!dialog->CloseFromWorker()) return 0;
  pauses.Sleep(100);
  return 0;
}

}  // namespace t740
