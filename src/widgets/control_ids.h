// Dialogs and controls are known by their template and control ids as
// decimal text in objectName ("1011", "1008"). Designer files cannot name a
// widget with a leading digit (uic makes a C++ member of the name), so the
// .ui files name them "id1011", "id1008"; ApplyControlIds turns those names
// into the bare ids right after setupUi.
#ifndef T740_WIDGETS_CONTROL_IDS_H
#define T740_WIDGETS_CONTROL_IDS_H

class QWidget;

namespace t740 {

// Renames `root` and every widget below it whose objectName is "id"
// followed by digits only; other names stay as they are.
void ApplyControlIds(QWidget* root);

}  // namespace t740

#endif
