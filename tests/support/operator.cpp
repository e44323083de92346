#include "support/operator.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>

#include "widgets/gbk_qt.h"

namespace t740::test {
namespace {

constexpr int kTickMilliseconds = 5;

std::vector<std::string> Utf8List(const QStringList& texts) {
  std::vector<std::string> out;
  for (const QString& text : texts) out.push_back(text.toStdString());
  return out;
}

QString NameOf(QWidget* widget) {
  const QString name = widget->objectName();
  return name.isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : name;
}

}  // namespace

QWidget* ActiveModal() {
  return QApplication::activeModalWidget();
}

bool IsMessageBox(QWidget* widget) {
  return qobject_cast<QMessageBox*>(widget) != nullptr;
}

Operator::Operator() {
  qApp->installEventFilter(this);
  timer_.setInterval(kTickMilliseconds);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
  timer_.start();
}

Operator::~Operator() {
  qApp->removeEventFilter(this);
}

void Operator::Then(Match when, Step step) {
  steps_.push_back({std::move(when), std::move(step)});
}

void Operator::Next(Match when, Step step) {
  steps_.push_front({std::move(when), std::move(step)});
}

void Operator::OnDialog(std::string_view objectName, Step step) {
  const QString name =
      QString::fromUtf8(objectName.data(), static_cast<qsizetype>(objectName.size()));
  Then([name](QWidget* modal) { return modal->objectName() == name; }, std::move(step));
}

void Operator::OnDialog(int templateId, Step step) {
  OnDialog(QString::number(templateId).toStdString(), std::move(step));
}

void Operator::OnMessageBox(std::function<void(QMessageBox*)> step) {
  Then(IsMessageBox,
       [step = std::move(step)](QWidget* modal) { step(qobject_cast<QMessageBox*>(modal)); });
}

void Operator::AcceptMessage() {
  OnMessageBox([this](QMessageBox* box) { Accept(box); });
}

void Operator::Accept(QMessageBox* box) {
  messages_.push_back(box->text());
  QAbstractButton* ok = box->button(QMessageBox::Ok);
  if (!ok && !box->buttons().isEmpty()) ok = box->buttons().first();
  if (ok) {
    ok->click();
  } else {
    box->done(QMessageBox::Ok);
  }
}

std::vector<std::string> Operator::Messages() const {
  return Utf8List(messages_);
}

std::vector<std::string> Operator::MessagesGbk() const {
  std::vector<std::string> out;
  for (const QString& text : messages_) out.push_back(ToGbk(text));
  return out;
}

std::vector<std::string> Operator::ModalsShown() const {
  return Utf8List(shown_);
}

size_t Operator::CountShown(std::string_view objectName) const {
  return static_cast<size_t>(shown_.count(
      QString::fromUtf8(objectName.data(), static_cast<qsizetype>(objectName.size()))));
}

size_t Operator::CountShown(int templateId) const {
  return CountShown(QString::number(templateId).toStdString());
}

void Operator::ClearRecords() {
  messages_.clear();
  shown_.clear();
}

bool Operator::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->isWindow() && widget->windowModality() != Qt::NonModal) {
      shown_.push_back(NameOf(widget));
    }
  }
  return QObject::eventFilter(watched, event);
}

void Operator::Tick() {
  if (stepQueued_) return;
  QWidget* modal = ActiveModal();
  if (!modal || !modal->isVisible()) {
    unattended_ = nullptr;
    return;
  }
  if (!steps_.empty() && steps_.front().when(modal)) {
    Pending pending = std::move(steps_.front());
    steps_.pop_front();
    unattended_ = nullptr;
    // Run from a posted call, not from the timer: a step that opens a nested
    // modal loop must not keep this timer from firing inside it.
    stepQueued_ = true;
    QPointer<QWidget> target(modal);
    QMetaObject::invokeMethod(
        this,
        [this, pending = std::move(pending), target]() mutable {
          stepQueued_ = false;
          if (target) {
            RunStep(std::move(pending), target);
          } else {
            ADD_FAILURE() << "the window of a step closed before the step ran";
          }
        },
        Qt::QueuedConnection);
    return;
  }
  if (acceptAll_ && IsMessageBox(modal)) {
    unattended_ = nullptr;
    Accept(qobject_cast<QMessageBox*>(modal));
    return;
  }
  HandleUnattended(modal);
}

void Operator::RunStep(Pending pending, QWidget* modal) {
  pending.step(modal);
}

void Operator::HandleUnattended(QWidget* modal) {
  const auto now = std::chrono::steady_clock::now();
  if (modal != unattended_) {
    unattended_ = modal;
    unattendedSince_ = now;
    return;
  }
  if (now - unattendedSince_ < patience_) return;
  unattended_ = nullptr;
  QString text = NameOf(modal);
  if (auto* box = qobject_cast<QMessageBox*>(modal)) text += QStringLiteral(": ") + box->text();
  ADD_FAILURE() << "nobody handled the modal window " << text.toStdString() << "; closing it";
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    box->done(QMessageBox::Ok);
  } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
}

}  // namespace t740::test
