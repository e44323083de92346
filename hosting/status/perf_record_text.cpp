#include "hosting/status/perf_record_text.h"

#include "common/hex_digit.h"

namespace t740::host {
namespace {

// Four hex digits in a full record; a short record leaves fewer.
constexpr size_t kCounterDigitsMaximum = 8;
// A layer's group holds five counters, the path's seven.
constexpr size_t kGroupCountersUsual = 7;
constexpr size_t kGroupsUsual = 5;

std::optional<CounterGroup> ParseGroup(std::string_view text) {
  if (text.size() < 2 || text[1] != '=') return std::nullopt;
  CounterGroup group{text[0], {}};
  group.counters.reserve(kGroupCountersUsual);
  text.remove_prefix(2);
  while (!text.empty()) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos || comma < 2 || text[1] != ':') return std::nullopt;
    group.counters.emplace_back(text[0], std::string(text.substr(2, comma - 2)));
    text.remove_prefix(comma + 1);
  }
  return group;
}

}  // namespace

std::optional<std::vector<CounterGroup>> ParseRecord(std::string_view text) {
  std::vector<CounterGroup> groups;
  groups.reserve(kGroupsUsual);
  while (!text.empty()) {
    const size_t end = text.find(';');
    if (end == std::string_view::npos) return std::nullopt;
    auto group = ParseGroup(text.substr(0, end));
    if (!group) return std::nullopt;
    groups.push_back(std::move(*group));
    text.remove_prefix(end + 1);
  }
  if (groups.empty()) return std::nullopt;
  return groups;
}

std::optional<long> CounterValue(const std::string& hex) {
  if (hex.empty() || hex.size() > kCounterDigitsMaximum) return std::nullopt;
  long value = 0;
  for (char c : hex) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace t740::host
