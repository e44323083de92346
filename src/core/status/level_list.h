// The host's alarm level list: items each ended by ",", an item being a key,
// ":" and a level text. Item n gives the level shown in alarm row n; the key
// is not used.
#ifndef T740_CORE_STATUS_LEVEL_LIST_H
#define T740_CORE_STATUS_LEVEL_LIST_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace t740 {

// The level texts of the leading items, at most `limit` of them. The scan
// stops at the first item without ":" and ignores text after the last ",".
std::vector<std::string> ParseLevelList(std::string_view list, size_t limit);

}  // namespace t740

#endif
