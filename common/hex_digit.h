// Hex digits as the card writes them: either case in, upper case out.
#ifndef T740_COMMON_HEX_DIGIT_H
#define T740_COMMON_HEX_DIGIT_H

namespace t740 {

inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// 0 to 15 for a hex digit of either case, -1 for any other character.
int HexDigitValue(char c);

}  // namespace t740

#endif
