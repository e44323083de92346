#include "core/thresholds/threshold_data.h"

#include <algorithm>

#include "core/card/codecs.h"

namespace t740 {
namespace {

constexpr uint32_t kThresholdMaximum = 65535;

// Swaps the two bytes of a four-digit group: the card stores the low byte first.
std::string SwapBytes(std::string_view group) {
  std::string swapped(group.substr(std::min<size_t>(2, group.size())));
  swapped.append(group.substr(0, 2));
  return swapped;
}

}  // namespace

ThresholdTexts DecodeThresholdData(std::string_view data) {
  ThresholdTexts texts;
  for (int k = 0; k < kThresholdValues; ++k) {
    const size_t start = 4 * static_cast<size_t>(k);
    const std::string_view group = start < data.size() ? data.substr(start, 4) : "";
    texts[k] = BitsToDec(HexToBits(SwapBytes(group)));
  }
  return texts;
}

std::optional<uint16_t> ParseThresholdValue(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
    if (value > kThresholdMaximum) return std::nullopt;
  }
  return static_cast<uint16_t>(value);
}

std::string EncodeThresholdValue(uint16_t value) {
  std::string hex = DecToHex(std::to_string(value));
  hex.insert(0, 4 - hex.size(), '0');
  return SwapBytes(hex);
}

bool BuildThresholdData(const ThresholdTexts& texts, const PortPair& ports, MessageSink& messages,
                        std::string& data) {
  data.clear();
  data.reserve(kThresholdDataLength);
  for (int k = 0; k < kThresholdValues; ++k) {
    const std::optional<uint16_t> value = ParseThresholdValue(texts[k]);
    if (!value) {
      const bool firstPort = k < kPortThresholds;
      messages.ShowMessage(ThresholdMessage(firstPort ? ports.firstPrefix : ports.secondPrefix,
                                            k % kPortThresholds));
      data.clear();
      return false;
    }
    data += EncodeThresholdValue(*value);
  }
  return true;
}

}  // namespace t740
