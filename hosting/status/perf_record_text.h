// A performance record as the plug-in formats it: groups "O=A:0012,B:0000,...,;"
// of counters named by letter, the counters hex digits as the card counts.
#ifndef T740_HOSTING_STATUS_PERF_RECORD_TEXT_H
#define T740_HOSTING_STATUS_PERF_RECORD_TEXT_H

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace t740::host {

struct CounterGroup {
  char name;
  std::vector<std::pair<char, std::string>> counters;  // letter, hex digits
};

// Nothing for a text that is not in that frame.
std::optional<std::vector<CounterGroup>> ParseRecord(std::string_view text);

// The counter's value; nothing when its field is empty or not hex.
std::optional<long> CounterValue(const std::string& hex);

}  // namespace t740::host

#endif
