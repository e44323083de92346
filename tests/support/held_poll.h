// The start-up poll's progress dialog held still for a look: the host holds
// the loopback read until the step has run, so the bar stands at 60.
#ifndef T740_TESTS_SUPPORT_HELD_POLL_H
#define T740_TESTS_SUPPORT_HELD_POLL_H

#include <functional>

#include "core/card/card_object.h"
#include "support/operator.h"
#include "support/recording_card.h"

class QWidget;

namespace t740::test {

void RunPollHeldAtLoopback(CCardObject& card, RecordingCard& host, Operator& op,
                           const std::function<void(QWidget* dialog)>& atLoopback);

}  // namespace t740::test

#endif
