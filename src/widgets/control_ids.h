// Dialogs and controls are known by their template and control ids as
// decimal text in objectName ("1011", "1008"). Designer files cannot name a
// widget with a leading digit (uic makes a C++ member of the name), so the
// .ui files name them "id1011", "id1008"; ApplyControlIds turns those names
// into the bare ids right after setupUi. The code finds them by the role
// names of ids/.
#ifndef T740_WIDGETS_CONTROL_IDS_H
#define T740_WIDGETS_CONTROL_IDS_H

#include <QString>
#include <QWidget>

namespace t740 {

// Renames `root` and every widget below it whose objectName is "id"
// followed by digits only; other names stay as they are.
void ApplyControlIds(QWidget* root);

// The control of this id below `root`. Ids repeat between a window and its
// pages, so look a window's own controls up before its pages are added.
template <class W>
W* ControlById(const QWidget* root, int id) {
  return root->findChild<W*>(QString::number(id));
}

}  // namespace t740

#endif
