#include "widgets/enter_clicks_button.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace t740 {
namespace {

bool IsPlainEnter(const QKeyEvent& key) {
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  return enter && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

class EnterClicksButton : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!button || !IsPlainEnter(*static_cast<QKeyEvent*>(event))) return false;
    // Auto-default buttons take Enter themselves.
    if (button->autoDefault() || button->isDefault()) return false;
    if (button->isEnabled()) button->click();
    return true;
  }
};

}  // namespace

void LetEnterClickFocusedButtons(QWidget* window) {
  auto* filter = new EnterClicksButton(window);
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    button->installEventFilter(filter);
  }
}

}  // namespace t740
