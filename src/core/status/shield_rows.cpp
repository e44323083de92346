#include "core/status/shield_rows.h"

#include "core/status/alarm_table.h"

namespace t740 {
namespace {

#define T740_SEVERE "\xD1\xCF\xD6\xD8\xB8\xE6\xBE\xAF" /* 严重告警 */
#define T740_PROMPT "\xCC\xE1\xCA\xBE\xB8\xE6\xBE\xAF" /* 提示告警 */
// Rows 0 to 15 follow alarm types 1 to 16.
const char* const kDefaultLevels[kAlarmTypeCount] = {
    T740_SEVERE, T740_PROMPT, T740_PROMPT, T740_PROMPT, T740_PROMPT, T740_PROMPT,
    T740_PROMPT, T740_SEVERE, T740_SEVERE, T740_PROMPT, T740_PROMPT, T740_PROMPT,
    T740_PROMPT, T740_PROMPT, T740_PROMPT, T740_SEVERE,
};
#undef T740_SEVERE
#undef T740_PROMPT

}  // namespace

std::string ShieldRowNumber(int row) {
  return "   " + std::to_string(row + 1);
}

const char* DefaultShieldLevel(int row) {
  if (row < 0 || row >= kAlarmTypeCount) return "";
  return kDefaultLevels[row];
}

const char* ShieldRowDescription(int row) {
  const AlarmType* type = FindAlarmType(row + 1);
  return type ? type->text : "";
}

}  // namespace t740
