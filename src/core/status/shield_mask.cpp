#include "core/status/shield_mask.h"

#include <algorithm>

namespace t740 {

ShieldBoxes ShieldBoxesFromMask(std::string_view mask, int32_t statedLength) {
  ShieldBoxes boxes;
  if (statedLength < 0 || static_cast<size_t>(statedLength) != mask.size() || mask.empty()) {
    return boxes;
  }
  boxes.selectAll = mask.find('0') == std::string_view::npos;
  const size_t rows = std::min(mask.size(), boxes.rows.size());
  for (size_t i = 0; i < rows; ++i) boxes.rows[i] = mask[i] == '1';
  return boxes;
}

std::string BuildShieldMask(const ShieldRows& checked) {
  std::string mask;
  mask.reserve(checked.size());
  for (const bool shielded : checked) mask += shielded ? '1' : '0';
  return mask;
}

}  // namespace t740
