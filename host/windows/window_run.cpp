#include "host/windows/window_run.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <filesystem>

#include "host/windows/card_messages.h"
#include "hosting/errors/host_error.h"
#include "hosting/plugin/host_request.h"
#include "hosting/plugin/waiting_for.h"
#include "ids/progress_dialog_ids.h"

namespace t740::host {
namespace {

constexpr char kProgram[] = "t740-host: ";

// Windows that close by themselves when their work is done: the progress
// dialog of the start-up poll and of page reads.
const int kSelfClosing[] = {ids::progress_dialog::kTemplate};

bool ClosesItself(const QWidget* window) {
  for (int id : kSelfClosing) {
    if (window->objectName() == QString::number(id)) return true;
  }
  return false;
}

// The window's caption and object name, as the operator and the code know it.
std::string NameOf(const QWidget* window) {
  const QString title = window->windowTitle();
  const QString object =
      window->objectName().isEmpty() ? window->metaObject()->className() : window->objectName();
  return "\"" + title.toStdString() + "\" (" + object.toStdString() + ")";
}

QAbstractButton* DefaultButtonOf(QMessageBox* box) {
  if (QAbstractButton* button = box->defaultButton()) return button;
  if (QAbstractButton* button = box->escapeButton()) return button;
  const auto buttons = box->buttons();
  return buttons.isEmpty() ? nullptr : buttons.first();
}

void Close(QWidget* window) {
  if (auto* dialog = qobject_cast<QDialog*>(window)) {
    dialog->reject();
  } else {
    window->close();
  }
}

}  // namespace

WindowRun::WindowRun(HostContext& context, bool headless, std::string directory)
    : context_(context),
      directory_(std::move(directory)),
      requestFailuresBefore_(FailedRequests().count) {
  if (headless) driver_.Otherwise([this](QWidget* window) { Answer(window); });
  if (TimeLimit* limit = context_.Limit()) {
    limit->SetWatched(true);
    driver_.EveryLook([this, limit] {
      if (limit->Expired() && limit->TakeEnding()) EndAtTimeLimit();
    });
  }
}

WindowRun::~WindowRun() {
  if (TimeLimit* limit = context_.Limit()) limit->SetWatched(false);
}

std::string WindowRun::NextPicture(const char* kind, int& count) {
  ++count;
  if (directory_.empty()) return std::string();
  return (std::filesystem::path(directory_) / (kind + std::to_string(count) + ".png")).string();
}

// Told rather than thrown: it runs inside the windows' event loop.
void WindowRun::Picture(QWidget* window, const std::string& path) {
  if (path.empty()) return;
  if (SavePicture(window, path)) {
    pictures_.push_back(path);
    return;
  }
  context_.Err() << kProgram << "could not write " << path << "\n";
  failed_ = true;
}

void WindowRun::Answer(QWidget* window) {
  if (ClosesItself(window)) return;
  if (auto* box = qobject_cast<QMessageBox*>(window)) {
    AnswerMessage(box);
  } else {
    CloseUnknown(window);
  }
}

void WindowRun::AnswerMessage(QWidget* window) {
  auto* box = static_cast<QMessageBox*>(window);
  Picture(box, NextPicture("message-", messages_));
  const std::string text = box->text().toStdString();
  context_.Err() << kProgram << "message: " << context_.Terminal().FromUtf8(text) << "\n";
  if (!ReportsSuccess(text)) failed_ = true;
  if (QAbstractButton* button = DefaultButtonOf(box)) {
    button->click();
  } else {
    box->reject();
  }
}

void WindowRun::CloseUnknown(QWidget* window) {
  Picture(window, NextPicture("window-", windows_));
  context_.Err() << kProgram << "closed a window the host does not know: "
                 << context_.Terminal().FromUtf8(NameOf(window)) << "\n";
  Close(window);
}

void WindowRun::EndAtTimeLimit() {
  std::string waitingFor = WaitingForNow();
  QWidget* modal = QApplication::activeModalWidget();
  if (waitingFor.empty() && modal) waitingFor = "the window " + NameOf(modal) + " to close";
  std::ostream& err = context_.Err();
  err << kProgram
      << context_.Terminal().FromUtf8(TimeLimitReport(context_.LimitSeconds(), waitingFor)) << "\n";
  const auto windows = QApplication::topLevelWidgets();
  for (QWidget* window : windows) {
    if (!window->isVisible()) continue;
    Picture(window, NextPicture("time-limit-", openAtLimit_));
    err << kProgram << "open at the time limit: " << context_.Terminal().FromUtf8(NameOf(window))
        << "\n";
  }
  PrintPictures(context_.Out(), pictures_);
  for (QWidget* window : windows) {
    if (window->isVisible()) Close(window);
  }
  ExitAfterTimeLimit(context_.Out(), err);
}

int WindowRun::Finish(int status) {
  PrintPictures(context_.Out(), pictures_);
  const RequestFailures requests = FailedRequests();
  const int failedRequests = requests.count - requestFailuresBefore_;
  if (failedRequests > 0) {
    context_.Err() << kProgram << failedRequests << " request(s) to the card failed, the last "
                   << requests.last << "\n";
  }
  if (status == kExitOk && (failed_ || failedRequests > 0)) return kExitFailure;
  return status;
}

}  // namespace t740::host
