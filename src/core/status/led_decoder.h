// The card's twelve front-panel LEDs as state codes for the host.
#ifndef T740_CORE_STATUS_LED_DECODER_H
#define T740_CORE_STATUS_LED_DECODER_H

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace t740 {

constexpr size_t kLedStatusMinimum = 148;
constexpr int16_t kLedCount = 12;

// The state codes, LED 1 first, for a status long enough; null otherwise.
// The codes do not depend on the status bits: the card reports LEDs 1-4 as
// fixed and a set bit of LEDs 5-12 shows the same code as a clear one.
const char* DecodeLedStates(std::string_view status);

}  // namespace t740

#endif
