#include "sim/trace.h"

#include <array>
#include <cstdint>

#include "sim/hex.h"

namespace t740::sim {
namespace {

constexpr size_t kFrameBytes = 16;
constexpr size_t kTextBytes = kFrameBytes - 1;
constexpr uint8_t kStartMarker = 0x80;

// CRC-7 (x^7 + x^3 + 1) over the frame, taken with the CRC bits zero.
uint8_t Crc7(const std::array<uint8_t, kFrameBytes>& frame) {
  uint8_t crc = 0;
  for (uint8_t byte : frame) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool feedback = ((crc >> 6) & 1) != ((byte >> bit) & 1);
      crc = static_cast<uint8_t>((crc << 1) & 0x7F);
      if (feedback) crc ^= 0x09;
    }
  }
  return crc;
}

}  // namespace

std::string TraceHex(std::string_view text) {
  std::array<uint8_t, kFrameBytes> frame{};
  frame[0] = kStartMarker;
  for (size_t i = 0; i < kTextBytes; ++i) {
    frame[i + 1] = i < text.size() ? static_cast<uint8_t>(text[i] & 0x7F) : ' ';
  }
  frame[0] = static_cast<uint8_t>(kStartMarker | Crc7(frame));
  std::string hex;
  for (uint8_t byte : frame) hex += ByteHex(byte);
  return hex;
}

}  // namespace t740::sim
