#include "core/status/led_decoder.h"

namespace t740 {

const char* DecodeLedStates(std::string_view status) {
  static constexpr char kStates[kLedCount + 1] = "002200000000";
  return status.size() < kLedStatusMinimum ? nullptr : kStates;
}

}  // namespace t740
