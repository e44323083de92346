#include "core/console/loopback_record.h"

#include "core/card/codecs.h"

namespace t740 {

std::array<std::optional<bool>, kLoopbackBoxes> ParseLoopback(std::string_view data) {
  char bits[kLoopbackBoxes];
  const size_t converted = HexToBits(data, bits, kLoopbackBoxes);
  std::array<std::optional<bool>, kLoopbackBoxes> on;
  for (size_t i = 0; i < converted; ++i) on[i] = bits[i] != '0';
  return on;
}

std::string BuildLoopbackData(const std::array<bool, kLoopbackBoxes>& on) {
  std::string bits;
  for (bool box : on) bits.push_back(box ? '1' : '0');
  return BitsToHex(bits);
}

}  // namespace t740
