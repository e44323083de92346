// The modal window in which the operator reaches the threshold container:
// the container with Read, Set and Exit beneath it.
#ifndef T740_THRESHOLDS_THRESHOLD_WINDOW_H
#define T740_THRESHOLDS_THRESHOLD_WINDOW_H

#include <QDialog>

#include "thresholds/threshold_tab_dlg.h"

namespace t740 {

class CThresholdWindow : public QDialog {
  Q_OBJECT
 public:
  explicit CThresholdWindow(QWidget* parent = nullptr);

  CThresholdTabDlg& Container() { return *container_; }

 private:
  CThresholdTabDlg* container_;
};

}  // namespace t740

#endif
