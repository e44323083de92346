#include "host/status_report.h"

#include <optional>
#include <string_view>

namespace t740::host {
namespace {

constexpr int16_t kAlarmPresent = 0;
constexpr size_t kAlarmTextWidth = 20;
constexpr size_t kPortLabelWidth = 9;
constexpr size_t kRecordWidth = 9;
constexpr size_t kCounterWidth = 5;

// Pads by GBK bytes: a double-byte character is two columns wide, as the
// terminal shows it.
std::string PadGbk(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string PadLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

// One group of a formatted record, "O=A:0012,B:0000,...,".
struct CounterGroup {
  char name;
  std::vector<std::pair<char, std::string>> counters;
};

std::optional<CounterGroup> ParseGroup(std::string_view text) {
  if (text.size() < 2 || text[1] != '=') return std::nullopt;
  CounterGroup group{text[0], {}};
  text.remove_prefix(2);
  while (!text.empty()) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos || comma < 2 || text[1] != ':') return std::nullopt;
    group.counters.emplace_back(text[0], std::string(text.substr(2, comma - 2)));
    text.remove_prefix(comma + 1);
  }
  return group;
}

// The groups of a formatted record, each ended by ";".
std::optional<std::vector<CounterGroup>> ParseRecord(std::string_view text) {
  std::vector<CounterGroup> groups;
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

std::string HeaderOf(const std::vector<CounterGroup>& groups) {
  std::string header;
  for (const CounterGroup& group : groups) {
    header += std::string(" ") + group.name + ":";
    for (const auto& counter : group.counters) {
      header += PadGbk(std::string(1, counter.first), kCounterWidth);
    }
  }
  return header;
}

std::string CellsOf(const std::vector<CounterGroup>& groups) {
  std::string cells;
  for (const CounterGroup& group : groups) {
    cells += "   ";
    for (const auto& counter : group.counters) cells += PadGbk(counter.second, kCounterWidth);
  }
  return cells;
}

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

void PrintAlarms(std::ostream& out, const TerminalText& terminal,
                 const std::vector<AlarmRow>& alarms) {
  out << "Alarms\n";
  out << "  Type  " << PadGbk("Alarm", kAlarmTextWidth) << "Level  State\n";
  for (const AlarmRow& alarm : alarms) {
    out << PadLeft(std::to_string(alarm.type), 6) << "  "
        << terminal.FromGbk(PadGbk(alarm.text, kAlarmTextWidth))
        << PadLeft(std::to_string(alarm.level), 5) << "  "
        << (alarm.level == kAlarmPresent ? "PRESENT" : "clear") << "\n";
  }
}

void PrintLeds(std::ostream& out, const LedRow& leds) {
  out << "LEDs (" << leds.count << ")\n";
  std::string numbers = "  LED  ";
  std::string states = "  State";
  for (size_t i = 0; i < leds.states.size(); ++i) {
    numbers += PadLeft(std::to_string(i + 1), 3);
    states += PadLeft(std::string(1, leds.states[i]), 3);
  }
  out << numbers << "\n" << states << "\n";
}

void PrintPerformance(std::ostream& out, const TerminalText& terminal, const PerfSection& section) {
  out << section.title << "\n";
  if (section.rows.empty()) {
    out << "  (no records)\n";
    return;
  }
  bool headerShown = false;
  for (const PerfRow& row : section.rows) {
    const auto groups = ParseRecord(row.text);
    const std::string lead = "  " + PadGbk(row.record, kRecordWidth);
    if (groups && !headerShown) {
      out << TrimRight("  " + PadGbk("Record", kRecordWidth) + PadGbk("Port", kPortLabelWidth) +
                       HeaderOf(*groups))
          << "\n";
      headerShown = true;
    }
    const std::string cells = groups ? CellsOf(*groups) : "   " + row.text;
    out << terminal.FromGbk(TrimRight(lead + PadGbk(row.label, kPortLabelWidth) + cells)) << "\n";
  }
}

void PrintPerformanceLegend(std::ostream& out) {
  out << "Groups: O regenerator section, P multiplex section, Q far-end multiplex section,\n"
         "        R higher-order path, S far-end higher-order path.\n"
         "Counters: A EB, B BBE, C ES, D SES, E UAS, F PJ+, G PJ- (hex, as the card counts).\n";
}

}  // namespace t740::host
