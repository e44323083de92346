#include "core/status/level_list.h"

namespace t740 {

std::vector<std::string> ParseLevelList(std::string_view list, size_t limit) {
  std::vector<std::string> levels;
  size_t start = 0;
  while (levels.size() < limit) {
    const size_t end = list.find(',', start);
    if (end == std::string_view::npos) break;
    const std::string_view item = list.substr(start, end - start);
    const size_t colon = item.find(':');
    if (colon == std::string_view::npos) break;
    levels.emplace_back(item.substr(colon + 1));
    start = end + 1;
  }
  return levels;
}

}  // namespace t740
