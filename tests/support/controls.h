// What the scripted operator does with a window's controls, found by their
// control id (the decimal objectName). Ids repeat between pages of the
// configuration window, so look them up in the page (e.g. the widget named
// ids::loopback_page::kTemplate) rather than in the whole window. A missing
// control, or one of another kind, is a test failure and the action does
// nothing.
#ifndef T740_TESTS_SUPPORT_CONTROLS_H
#define T740_TESTS_SUPPORT_CONTROLS_H

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

class QMessageBox;

namespace t740::test {

QString IdName(int id);

template <class W>
W* Control(QWidget* window, int id) {
  if (!window) {
    ADD_FAILURE() << "no window to look for control " << id << " in";
    return nullptr;
  }
  W* control = window->findChild<W*>(IdName(id));
  if (!control) {
    ADD_FAILURE() << "window " << window->objectName().toStdString() << " has no control " << id
                  << " of the expected kind";
  }
  return control;
}

// The window or page with this id below `root` (or `root` itself).
QWidget* Page(QWidget* root, int id);

// Text of a label, edit, button, check box or the current item of a drop-down
// list, in UTF-8; GBK with TextGbk.
std::string Text(QWidget* window, int id);
std::string TextGbk(QWidget* window, int id);

// Clears the edit and types the UTF-8 text into it key by key, as an
// operator would (so the edit's length limit and validator apply).
void TypeInto(QWidget* window, int id, std::string_view utf8);
// Selects the item by position or by its UTF-8 text, as a mouse choice would.
void SelectItem(QWidget* window, int id, int index);
void SelectItem(QWidget* window, int id, std::string_view utf8);
int CurrentIndex(QWidget* window, int id);
// Clicks a push button or check box; a hidden or disabled one cannot be
// clicked, which is a test failure.
void Click(QWidget* window, int id);
bool IsChecked(QWidget* window, int id);
void PressKey(QWidget* widget, Qt::Key key);

// Where Tab (or Backtab) takes the focus of the active window, press by
// press, until it comes back to where it started (at most `limit` presses).
// Each widget is named by its control id; a tab bar by its tab control's id
// and "/tabs".
std::vector<std::string> FocusRound(Qt::Key key, int limit = 64);

std::string MessageText(QMessageBox* box);     // UTF-8
std::string MessageTextGbk(QMessageBox* box);  // GBK

}  // namespace t740::test

#endif
