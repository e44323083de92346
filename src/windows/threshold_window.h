// The modal window in which the operator reaches the threshold container:
// the container with Read, Set and Exit beneath it.
#ifndef T740_WINDOWS_THRESHOLD_WINDOW_H
#define T740_WINDOWS_THRESHOLD_WINDOW_H

#include <QDialog>
#include <string_view>

#include "windows/threshold_tab_dlg.h"

namespace t740 {

class CThresholdWindow : public QDialog {
  Q_OBJECT
 public:
  explicit CThresholdWindow(CCardObject& card, QWidget* parent = nullptr);

  CThresholdTabDlg& Container() { return *container_; }

 private:
  CThresholdTabDlg* container_;
};

class CCardObject;

// OpenThresholds' window for the card at this address: there is no poll
// behind it, so its first read asks the card; whatever an earlier
// configuration window left in the cache may be old or another card's.
void RunThresholdWindow(QWidget* parent, CCardObject& card, std::string_view ip,
                        std::string_view cardAddress);

}  // namespace t740

#endif
