#include "sim/hex.h"

#include "common/hex_digit.h"

namespace t740::sim {

bool IsHexText(std::string_view text) {
  for (char c : text) {
    if (HexDigitValue(c) < 0) return false;
  }
  return true;
}

std::string UpperHex(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string ByteHex(uint8_t byte) {
  return {kUpperHexDigits[byte >> 4], kUpperHexDigits[byte & 0x0F]};
}

uint8_t ParseByte(std::string_view twoDigits) {
  return static_cast<uint8_t>(HexDigitValue(twoDigits[0]) * 16 + HexDigitValue(twoDigits[1]));
}

std::string WordHex(uint16_t word) {
  return ByteHex(static_cast<uint8_t>(word >> 8)) + ByteHex(static_cast<uint8_t>(word & 0xFF));
}

uint16_t ParseWord(std::string_view fourDigits) {
  return static_cast<uint16_t>(ParseByte(fourDigits.substr(0, 2)) << 8 |
                               ParseByte(fourDigits.substr(2, 2)));
}

}  // namespace t740::sim
