#include "core/card/codecs.h"

#include <cstdio>
#include <limits>

#include "common/hex_digit.h"

namespace t740 {
namespace {

int GroupValue(const char* group) {
  int value = 0;
  for (int i = 0; i < 4; ++i) {
    if (group[i] != '0' && group[i] != '1') return -1;
    value = value * 2 + (group[i] - '0');
  }
  return value;
}

bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

size_t HexToBits(std::string_view hex, char* out, size_t capacity) {
  size_t written = 0;
  int group = -1;
  for (char c : hex) {
    int value = HexDigitValue(c);
    if (value >= 0) group = value;
    if (group < 0) continue;
    for (int bit = 3; bit >= 0 && written < capacity; --bit) {
      out[written++] = (group >> bit) & 1 ? '1' : '0';
    }
    if (written == capacity) break;
  }
  return written;
}

std::string HexToBits(std::string_view hex) {
  std::string bits(hex.size() * 4, '0');
  bits.resize(HexToBits(hex, bits.data(), bits.size()));
  return bits;
}

std::string BitsToHex(std::string_view bits) {
  const size_t padding = (4 - bits.size() % 4) % 4;
  std::string padded(padding, '0');
  padded.append(bits);
  std::string hex;
  hex.reserve(padded.size() / 4);
  for (size_t i = 0; i < padded.size(); i += 4) {
    int value = GroupValue(padded.data() + i);
    if (value >= 0) hex.push_back(kUpperHexDigits[value]);
  }
  return hex;
}

int32_t AtoiOf(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate as strtol does on a 64-bit long: saturate, then narrow.
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  uint64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
    magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
  }
  const uint64_t value = negative ? ~magnitude + 1 : magnitude;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::string DecToHex(std::string_view decimal) {
  char buffer[16];
  const int length =
      std::snprintf(buffer, sizeof buffer, "%X", static_cast<uint32_t>(AtoiOf(decimal)));
  return std::string(buffer, static_cast<size_t>(length));
}

std::string BitsToDec(std::string_view bits) {
  auto digit = [](char c) -> uint32_t { return c >= '0' && c <= '9' ? uint32_t(c - '0') : 0; };
  // Unsigned arithmetic: inputs of more than 31 bits wrap instead of overflowing.
  uint32_t value = 0;
  uint32_t weight = 1;
  for (size_t i = bits.size(); i-- > 0;) {
    value += digit(bits[i]) * weight;
    weight *= 2;
  }
  return std::to_string(static_cast<int32_t>(value));
}

}  // namespace t740
