#include "support/controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabBar>
#include <QTest>

#include "widgets/gbk_qt.h"

namespace t740::test {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString TextOf(QWidget* control) {
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
  if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText();
  ADD_FAILURE() << "control " << control->objectName().toStdString() << " has no text";
  return QString();
}

void Choose(QComboBox* combo, int index) {
  if (index < 0 || index >= combo->count()) {
    ADD_FAILURE() << "drop-down list " << combo->objectName().toStdString() << " has no item "
                  << index;
    return;
  }
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

}  // namespace

QString IdName(int id) {
  return QString::number(id);
}

QWidget* Page(QWidget* root, int id) {
  if (root && root->objectName() == IdName(id)) return root;
  return Control<QWidget>(root, id);
}

std::string Text(QWidget* window, int id) {
  QWidget* control = Control<QWidget>(window, id);
  return control ? TextOf(control).toStdString() : std::string();
}

std::string TextGbk(QWidget* window, int id) {
  QWidget* control = Control<QWidget>(window, id);
  return control ? ToGbk(TextOf(control)) : std::string();
}

void TypeInto(QWidget* window, int id, std::string_view utf8) {
  auto* edit = Control<QLineEdit>(window, id);
  if (!edit) return;
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  // QTest::keyClicks knows ASCII only; an edit takes any text from the event.
  const QString text = FromUtf8(utf8);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString character = text.mid(i, length);
    i += length - 1;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
    QApplication::sendEvent(edit, &press);
    QApplication::sendEvent(edit, &release);
  }
}

void SelectItem(QWidget* window, int id, int index) {
  if (auto* combo = Control<QComboBox>(window, id)) Choose(combo, index);
}

void SelectItem(QWidget* window, int id, std::string_view utf8) {
  auto* combo = Control<QComboBox>(window, id);
  if (!combo) return;
  const int index = combo->findText(FromUtf8(utf8));
  if (index < 0) {
    ADD_FAILURE() << "drop-down list " << id << " has no item " << utf8;
    return;
  }
  Choose(combo, index);
}

int CurrentIndex(QWidget* window, int id) {
  auto* combo = Control<QComboBox>(window, id);
  return combo ? combo->currentIndex() : -1;
}

void Click(QWidget* window, int id) {
  auto* button = Control<QAbstractButton>(window, id);
  if (!button) return;
  if (!button->isEnabled() || button->isHidden()) {
    ADD_FAILURE() << "control " << id << " cannot be clicked (hidden or disabled)";
    return;
  }
  button->click();
}

bool IsChecked(QWidget* window, int id) {
  auto* button = Control<QAbstractButton>(window, id);
  return button && button->isChecked();
}

void PressKey(QWidget* widget, Qt::Key key) {
  QTest::keyClick(widget, key);
}

namespace {

std::string FocusName(const QWidget* widget) {
  if (!widget) return "(none)";
  if (qobject_cast<const QTabBar*>(widget) && widget->parentWidget()) {
    return widget->parentWidget()->objectName().toStdString() + "/tabs";
  }
  return widget->objectName().toStdString();
}

}  // namespace

std::vector<std::string> FocusRound(Qt::Key key, int limit) {
  QWidget* start = QApplication::focusWidget();
  std::vector<std::string> round;
  for (int press = 0; start && press < limit; ++press) {
    QTest::keyClick(QApplication::focusWidget(), key);
    QWidget* now = QApplication::focusWidget();
    round.push_back(FocusName(now));
    if (!now || now == start) break;
  }
  return round;
}

std::string MessageText(QMessageBox* box) {
  return box->text().toStdString();
}

std::string MessageTextGbk(QMessageBox* box) {
  return ToGbk(box->text());
}

}  // namespace t740::test
