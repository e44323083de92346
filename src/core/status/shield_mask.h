// The alarm shielding mask: one "0"/"1" character per alarm row, "1" for a
// shielded alarm. The host's mask sets the dialog's boxes; the boxes give
// back a mask of exactly one character per row.
#ifndef T740_CORE_STATUS_SHIELD_MASK_H
#define T740_CORE_STATUS_SHIELD_MASK_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace t740 {

constexpr int kShieldRowCount = 150;

using ShieldRows = std::array<bool, kShieldRowCount>;

struct ShieldBoxes {
  bool selectAll = false;
  ShieldRows rows{};
};

// A mask whose stated length differs from its text, or an empty one, checks
// nothing. Otherwise select-all is checked unless the mask holds a "0", and
// row i is checked for a "1" at position i.
ShieldBoxes ShieldBoxesFromMask(std::string_view mask, int32_t statedLength);

std::string BuildShieldMask(const ShieldRows& checked);

}  // namespace t740

#endif
