#include "host/windows/card_messages.h"

#include <string>

#include "hosting/text/gbk_text.h"

namespace t740::host {
namespace {

// Each group's message for a write the card confirmed.
const char* const kSuccessMessages[] = {
    "\xBB\xB7\xBB\xD8\xBF\xD8\xD6\xC6\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6", /* 环回控制设置成功 */
    "\xBF\xAA\xCF\xFA\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6",                 /* 开销设置成功 */
    "\xB8\xDF\xBD\xD7\xCD\xA8\xB5\xC0\xBF\xAA\xCF\xFA\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6",
    /* 高阶通道开销设置成功 */
    "\xC7\xE5\xC1\xE3\xB3\xC9\xB9\xA6",                 /* 清零成功 */
    "\xC3\xC5\xCF\xDE\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6", /* 门限设置成功 */
};

}  // namespace

bool ReportsSuccess(std::string_view utf8) {
  const std::string gbk = Utf8ToGbk(utf8);
  for (const char* success : kSuccessMessages) {
    if (!gbk.empty() && gbk == success) return true;
  }
  return false;
}

}  // namespace t740::host
