#include "common/unit_number.h"

namespace t740 {

std::optional<int64_t> UnitNumber(const std::string& text, std::initializer_list<Unit> units,
                                  size_t digits) {
  for (const Unit& unit : units) {
    const std::string suffix = unit.suffix;
    if (text.size() <= suffix.size() ||
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) {
      continue;
    }
    const std::string number = text.substr(0, text.size() - suffix.size());
    if (number.size() > digits || number.find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
    return std::stoll(number) * unit.factor;
  }
  return std::nullopt;
}

}  // namespace t740
