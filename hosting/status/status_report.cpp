#include "hosting/status/status_report.h"

#include "hosting/text/display_width.h"

namespace t740::host {
namespace {

constexpr size_t kAlarmTextWidth = 20;
constexpr size_t kPortLabelWidth = 9;
constexpr size_t kRecordWidth = 9;
constexpr size_t kCounterWidth = 5;

std::string PadLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string HeaderOf(const std::vector<Group>& groups) {
  std::string header;
  for (const Group& group : groups) {
    header += std::string(" ") + group.name + ":";
    for (const Counter& counter : group.counters) {
      header += PadToWidth(std::string(1, counter.letter), kCounterWidth);
    }
  }
  return header;
}

std::string CellsOf(const TerminalText& terminal, const std::vector<Group>& groups) {
  std::string cells;
  for (const Group& group : groups) {
    cells += "   ";
    for (const Counter& counter : group.counters)
      cells += PadToWidth(terminal.FromGbk(counter.hex), kCounterWidth);
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
  out << "  Type  " << PadToWidth("Alarm", kAlarmTextWidth) << "Level  State\n";
  for (const AlarmRow& alarm : alarms) {
    out << PadLeft(std::to_string(alarm.type), 6) << "  "
        << PadToWidth(terminal.FromGbk(alarm.text), kAlarmTextWidth)
        << PadLeft(std::to_string(alarm.level), 5) << "  "
        << (alarm.Present() ? "PRESENT" : "clear") << "\n";
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
    const auto& groups = row.groups;
    const std::string lead = "  " + PadToWidth(row.record, kRecordWidth);
    if (groups && !headerShown) {
      out << TrimRight("  " + PadToWidth("Record", kRecordWidth) +
                       PadToWidth("Port", kPortLabelWidth) + terminal.FromGbk(HeaderOf(*groups)))
          << "\n";
      headerShown = true;
    }
    const std::string cells =
        groups ? CellsOf(terminal, *groups) : "   " + terminal.FromGbk(row.text);
    out << TrimRight(lead + PadToWidth(terminal.FromGbk(row.label), kPortLabelWidth) + cells)
        << "\n";
  }
}

void PrintPerformanceLegend(std::ostream& out) {
  out << "Groups: O regenerator section, P multiplex section, Q far-end multiplex section,\n"
         "        R higher-order path, S far-end higher-order path.\n"
         "Counters: A EB, B BBE, C ES, D SES, E UAS, F PJ+, G PJ- (hex, as the card counts).\n";
}

}  // namespace t740::host
