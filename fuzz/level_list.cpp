// The alarm level list GetAlarmSheild receives: the levels of the leading
// ","-terminated items that hold a ":", by the rules written out plainly,
// within the table's limit whatever the list's length.
#include <algorithm>
#include <string>
#include <vector>

#include "core/status/level_list.h"
#include "fuzz_input.h"

namespace {

constexpr size_t kTableLimit = 10000;
constexpr size_t kRows = 150;

std::vector<std::string> ExpectedLevels(std::string_view list, size_t limit) {
  std::vector<std::string> levels;
  std::string item;
  for (char c : list) {
    if (levels.size() == limit) break;
    if (c != ',') {
      item += c;
      continue;
    }
    const size_t colon = item.find(':');
    if (colon == std::string::npos) break;
    levels.push_back(item.substr(colon + 1));
    item.clear();
  }
  return levels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const std::string_view list = input.Rest();

  const std::vector<std::string> levels = t740::ParseLevelList(list, kTableLimit);
  FUZZ_CHECK(levels == ExpectedLevels(list, kTableLimit));
  for (const std::string& level : levels) FUZZ_CHECK(level.find(',') == std::string::npos);

  // The dialog asks for its rows only: the same levels, cut at 150.
  const std::vector<std::string> rows = t740::ParseLevelList(list, kRows);
  FUZZ_CHECK(rows.size() <= kRows);
  FUZZ_CHECK(std::equal(rows.begin(), rows.end(), levels.begin()));
  return 0;
}
