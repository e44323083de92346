// The four conversions between hex, bit and decimal texts, on any text,
// against the rules written out plainly: hex to bits one character at a
// time, bits to hex by groups of four, decimal to hex as the C library's
// atoi and "%X" do, bits to decimal by doubling weights.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/card/codecs.h"
#include "fuzz_input.h"
#include "reference_codecs.h"

namespace {

std::string ReferenceBitsToHex(std::string_view bits) {
  std::string padded(bits);
  while (padded.size() % 4 != 0) padded.insert(0, "0");
  static const char* const kGroups[] = {"0000", "0001", "0010", "0011", "0100", "0101",
                                        "0110", "0111", "1000", "1001", "1010", "1011",
                                        "1100", "1101", "1110", "1111"};
  std::string hex;
  for (size_t i = 0; i < padded.size(); i += 4) {
    for (int digit = 0; digit < 16; ++digit) {
      if (padded.compare(i, 4, kGroups[digit]) == 0) hex += "0123456789ABCDEF"[digit];
    }
  }
  return hex;
}

// atoi is strtol narrowed to int on this platform; strtol stops at a NUL
// byte as at any other non-digit.
std::string ReferenceDecToHex(std::string_view decimal) {
  const std::string terminated(decimal);
  const long value = std::strtol(terminated.c_str(), nullptr, 10);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(static_cast<int>(value)));
  return buffer;
}

// Callers pass at most 16 characters: no overflow even of nines.
std::string ReferenceBitsToDec(std::string_view bits) {
  auto digit = [](char c) -> long long { return c >= '0' && c <= '9' ? c - '0' : 0; };
  if (bits.empty()) return "0";
  long long value = digit(bits.back());
  long long weight = 1;
  for (size_t i = bits.size() - 1; i-- > 0;) {
    weight *= 2;
    value += digit(bits[i]) * weight;
  }
  return std::to_string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const uint8_t which = input.Byte() % 4;
  const std::string_view text = input.Rest();
  switch (which) {
    case 0: {
      const std::string bits = t740::HexToBits(text);
      FUZZ_CHECK(bits == t740::fuzz::ReferenceHexToBits(text));
      char buffer[40];
      const size_t capacity = text.size() % sizeof buffer;
      const size_t written = t740::HexToBits(text, buffer, capacity);
      FUZZ_CHECK(written == std::min(capacity, bits.size()));
      FUZZ_CHECK(std::string_view(buffer, written) == std::string_view(bits).substr(0, written));
      // Hex digits come back upper-cased.
      if (t740::fuzz::IsHexText(text)) {
        FUZZ_CHECK(t740::BitsToHex(bits) == t740::fuzz::ReferenceUpper(text));
      }
      break;
    }
    case 1:
      FUZZ_CHECK(t740::BitsToHex(text) == ReferenceBitsToHex(text));
      break;
    case 2:
      FUZZ_CHECK(t740::DecToHex(text) == ReferenceDecToHex(text));
      break;
    case 3:
      // Longer texts are outside the contract but must still convert safely.
      if (text.size() <= 16) {
        FUZZ_CHECK(t740::BitsToDec(text) == ReferenceBitsToDec(text));
      } else {
        t740::BitsToDec(text);
      }
      break;
  }
  return 0;
}
