// Enter on a focused push button clicks it, as Space does. The windows'
// buttons are not auto-default (Enter in an edit must press nothing), and
// Qt lets only auto-default buttons take Enter; this puts it back for the
// button that has the focus.
#ifndef T740_WIDGETS_ENTER_CLICKS_BUTTON_H
#define T740_WIDGETS_ENTER_CLICKS_BUTTON_H

class QWidget;

namespace t740 {

// For every push button under `window` now; the filter lives as long as
// the window.
void LetEnterClickFocusedButtons(QWidget* window);

}  // namespace t740

#endif
