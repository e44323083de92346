// The loopback group (".11"): one byte, a bit per port and direction, read
// into eight drop-down boxes and written back from them.
#ifndef T740_CORE_CONSOLE_LOOPBACK_RECORD_H
#define T740_CORE_CONSOLE_LOOPBACK_RECORD_H

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace t740 {

constexpr size_t kLoopbackBoxes = 8;

// The items of every box, by position (GBK).
constexpr const char* kLoopbackOff = "\xB2\xBB\xBB\xB7\xBB\xD8" /* 不环回 */;
constexpr const char* kLoopbackOn = "\xBB\xB7\xBB\xD8" /* 环回 */;

// Loopback on per box (in bit order, as ids::loopback_page::kBoxes) from the data after the
// response head; a box beyond the converted bits gets nothing and keeps
// what it shows (a single hex digit reaches the four LLP boxes only).
std::array<std::optional<bool>, kLoopbackBoxes> ParseLoopback(std::string_view data);

// The two upper-case hex digits of the loopback byte.
std::string BuildLoopbackData(const std::array<bool, kLoopbackBoxes>& on);

}  // namespace t740

#endif
