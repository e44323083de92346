// A number written with its unit, "500ms", "90d", "1GB": the digits before
// the first of the units' suffixes that ends the text, times that unit.
#ifndef T740_COMMON_UNIT_NUMBER_H
#define T740_COMMON_UNIT_NUMBER_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

namespace t740 {

struct Unit {
  const char* suffix;
  int64_t factor;
};

// Nothing when no suffix ends `text` or the part before it is not 1 to
// `digits` decimal digits. List "ms" before "s", "KB" before "B".
std::optional<int64_t> UnitNumber(const std::string& text, std::initializer_list<Unit> units,
                                  size_t digits);

}  // namespace t740

#endif
