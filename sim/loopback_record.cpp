#include "sim/loopback_record.h"

#include "sim/hex.h"

namespace t740::sim {
namespace {

constexpr char kLoopbackHead[] = "010000";
constexpr size_t kLoopbackDataLength = 2;

}  // namespace

std::string LoopbackResponse(const CardState& state) {
  return kLoopbackHead + ByteHex(state.loopback);
}

WriteResult ApplyLoopbackWrite(CardState& state, std::string_view value) {
  if (auto error = CheckWriteFrame(value, kLoopbackHead, kLoopbackDataLength)) return error;
  const std::string_view data = value.substr(kHeadLength);
  if (auto error = CheckHexData(data)) return error;
  state.loopback = ParseByte(data);
  return std::nullopt;
}

}  // namespace t740::sim
