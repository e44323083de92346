// Conversions between the card's hex texts, bit texts ("0"/"1") and decimal
// texts. Malformed input is converted by fixed rules, never rejected.
#ifndef T740_CORE_CARD_CODECS_H
#define T740_CORE_CARD_CODECS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace t740 {

// Four bit characters per character: a hex digit gives its value, any other
// character repeats the group before it (nothing before the first digit).
std::string HexToBits(std::string_view hex);
// The same into a caller's buffer; returns the number of bits written, at
// most `capacity`.
size_t HexToBits(std::string_view hex, char* out, size_t capacity);

std::string BitsToHex(std::string_view bits);
std::string DecToHex(std::string_view decimal);
std::string BitsToDec(std::string_view bits);

// The C library's atoi on a text that need not be zero-terminated, without
// its undefined overflow: the value saturates as strtol does, then narrows.
int32_t AtoiOf(std::string_view text);

}  // namespace t740

#endif
