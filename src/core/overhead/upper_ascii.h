// Values go to the card with their ASCII letters upper-cased.
#ifndef T740_CORE_OVERHEAD_UPPER_ASCII_H
#define T740_CORE_OVERHEAD_UPPER_ASCII_H

#include <string>
#include <string_view>

namespace t740 {

// A copy in which "a" to "z" become "A" to "Z"; every other byte, both bytes
// of a double-byte character included, is copied unchanged.
std::string UpperAscii(std::string_view gbk);

}  // namespace t740

#endif
