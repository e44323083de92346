// Hex text helpers of the card: its records are hex digits, upper-case.
#ifndef T740_SIM_HEX_H
#define T740_SIM_HEX_H

#include <cstdint>
#include <string>
#include <string_view>

namespace t740::sim {

bool IsHexText(std::string_view text);
std::string UpperHex(std::string_view text);
std::string ByteHex(uint8_t byte);
// Two hex digits; the caller has checked them.
uint8_t ParseByte(std::string_view twoDigits);
// Four digits, high byte first.
std::string WordHex(uint16_t word);
uint16_t ParseWord(std::string_view fourDigits);

}  // namespace t740::sim

#endif
