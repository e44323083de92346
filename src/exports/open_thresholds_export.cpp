// The export that shows the threshold container in a window of its own,
// for the card object that the global pointer holds.
#include "core/card/card_object.h"
#include "t740/abi.h"
#include "windows/threshold_window.h"

T740_EXPORT int32_t OpenThresholds(QWidget* parent, CText ip, CText cardAddress) {
  t740::CCardObject* card = t740::CurrentCard();
  if (!card) return 0;
  try {
    t740::RunThresholdWindow(parent, *card, ip.view(), cardAddress.view());
    return 1;
  } catch (...) {
    return 0;
  }
}
