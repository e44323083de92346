// The export that shows the threshold container in a window of its own,
// for the card object that the global pointer holds.
#include "boundary/card_object.h"
#include "boundary/resource_scope.h"
#include "t740/abi.h"
#include "thresholds/threshold_window.h"

T740_EXPORT int32_t OpenThresholds(QWidget* parent, CText ip, CText cardAddress) {
  t740::CCardObject* card = t740::CurrentCard();
  if (!card) return 0;
  try {
    card->SetIdentity(ip.view(), cardAddress.view());
    t740::ResourceScope resources;
    t740::CThresholdWindow window(parent);
    // Without a start-up poll behind it the cache holds nothing to show.
    if (card->GetThresholdCache().empty()) window.Container().SkipCache();
    window.Container().ReadThresholds();
    window.exec();
    return 1;
  } catch (...) {
    return 0;
  }
}
