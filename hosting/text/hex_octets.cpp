#include "hosting/text/hex_octets.h"

#include "common/hex_digit.h"

namespace t740::host {

std::optional<std::string> OctetsOfHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string octets;
  octets.reserve(hex.size() / 2);
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigitValue(hex[i]);
    const int low = HexDigitValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    octets += static_cast<char>(high * 16 + low);
  }
  return octets;
}

std::string HexOfOctets(std::string_view octets) {
  std::string hex;
  hex.reserve(octets.size() * 2);
  for (char c : octets) {
    const auto byte = static_cast<unsigned char>(c);
    hex += kUpperHexDigits[byte >> 4];
    hex += kUpperHexDigits[byte & 0x0F];
  }
  return hex;
}

}  // namespace t740::host
