#include "sim/threshold_record.h"

#include "sim/hex.h"

namespace t740::sim {
namespace {

// D8 is 216, the data's length in bytes.
constexpr char kThresholdHead[] = "D80000";
constexpr size_t kValueLength = 4;
constexpr size_t kThresholdDataLength = kThresholdCount * kValueLength;

std::string LowByteFirst(uint16_t value) {
  return ByteHex(static_cast<uint8_t>(value & 0xFF)) + ByteHex(static_cast<uint8_t>(value >> 8));
}

uint16_t FromLowByteFirst(std::string_view digits) {
  return static_cast<uint16_t>(ParseByte(digits.substr(2, 2)) << 8 |
                               ParseByte(digits.substr(0, 2)));
}

}  // namespace

std::string ThresholdResponse(const CardState& state) {
  std::string response = kThresholdHead;
  for (uint16_t value : state.thresholds) response += LowByteFirst(value);
  return response;
}

WriteResult ApplyThresholdWrite(CardState& state, std::string_view value) {
  if (auto error = CheckWriteFrame(value, kThresholdHead, kThresholdDataLength)) return error;
  const std::string_view data = value.substr(kHeadLength);
  if (auto error = CheckHexData(data)) return error;
  for (size_t k = 0; k < state.thresholds.size(); ++k) {
    state.thresholds[k] = FromLowByteFirst(data.substr(k * kValueLength, kValueLength));
  }
  return std::nullopt;
}

}  // namespace t740::sim
