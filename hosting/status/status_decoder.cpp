#include "hosting/status/status_decoder.h"

#include "hosting/status/perf_record_text.h"
#include "hosting/text/gbk_text.h"
#include "hosting/transport/transport.h"

namespace t740::host {
namespace {

constexpr int32_t kAlarmTypes = 16;
// The plug-in writes A/C records from entry 0 and B/D records from 22.
constexpr int kPerfHalfEntries = 22;
constexpr int kPerfEntries = 2 * kPerfHalfEntries;

struct PerfQuery {
  int16_t period;
  int16_t history;
  const char* title;
};

constexpr PerfQuery kPerfQueries[] = {
    {15, 0, "Performance, 15 minutes, current"},
    {15, 1, "Performance, 15 minutes, history"},
    {24, 0, "Performance, 24 hours, current"},
    {24, 1, "Performance, 24 hours, history"},
};

[[noreturn]] void Rejected(StatusText text, const std::string& status) {
  throw StatusRejected(std::string("the plug-in rejected the ") + StatusTextName(text) + " (" +
                       std::to_string(status.size()) + " characters)");
}

// "光口A:RS-TIM": port "A", name "RS-TIM".
AlarmRow AlarmOf(int32_t type, int16_t level, std::string text) {
  const std::string utf8 = GbkToUtf8(text);
  const size_t colon = utf8.find(':');
  AlarmRow alarm{type, level, std::move(text), "", utf8};
  if (colon != std::string::npos) {
    if (colon > 0) alarm.port = utf8.substr(colon - 1, 1);
    alarm.name = utf8.substr(colon + 1);
  }
  return alarm;
}

// "A/C光口": the port pair "A/C".
std::string PortPair(const std::string& label) {
  const std::string utf8 = GbkToUtf8(label);
  return utf8.substr(0, utf8.find_first_not_of("ABCD/"));
}

std::optional<std::vector<Group>> GroupsOf(const std::string& text) {
  auto parsed = ParseRecord(text);
  if (!parsed) return std::nullopt;
  std::vector<Group> groups;
  groups.reserve(parsed->size());
  for (CounterGroup& group : *parsed) {
    Group decoded{group.name, {}};
    decoded.counters.reserve(group.counters.size());
    for (auto& [letter, hex] : group.counters) {
      const std::optional<long> value = CounterValue(hex);
      decoded.counters.push_back({letter, std::move(hex), value});
    }
    groups.push_back(std::move(decoded));
  }
  return groups;
}

PerfSection DecodeSection(const PluginExports& exports, const std::string& data,
                          const PerfQuery& query) {
  CText texts[kPerfEntries];
  CText labels[kPerfEntries];
  if (!exports.getPerformanceData(0, query.period, query.history, CText(data), texts, labels,
                                  CText())) {
    Rejected(StatusText::Performance, data);
  }
  PerfSection section{query.title, query.period, query.history != 0, {}};
  for (int half : {0, kPerfHalfEntries}) {
    for (int r = 0; r < kPerfHalfEntries; ++r) {
      const int entry = half + r;
      if (labels[entry].empty()) continue;
      std::string label(labels[entry].view());
      std::string text(texts[entry].view());
      PerfRow row{query.history ? "#" + std::to_string(r) : "current",
                  query.history ? r : -1,
                  label,
                  PortPair(label),
                  text,
                  GroupsOf(text)};
      section.rows.push_back(std::move(row));
    }
  }
  return section;
}

}  // namespace

std::vector<AlarmRow> DecodeAlarms(const PluginExports& exports, const std::string& status) {
  std::vector<AlarmRow> rows;
  for (int32_t type = 1; type <= kAlarmTypes; ++type) {
    int16_t level = 0;
    CText text;
    if (!exports.getWarning(type, CText(status), CText(), &level, &text)) {
      Rejected(StatusText::Alarm, status);
    }
    rows.push_back(AlarmOf(type, level, std::string(text.view())));
  }
  return rows;
}

LedRow DecodeLeds(const PluginExports& exports, const std::string& status) {
  int16_t count = 0;
  CText states;
  if (!exports.getLedState(0, CText(status), &count, &states)) Rejected(StatusText::Led, status);
  return {count, std::string(states.view())};
}

std::vector<PerfSection> DecodePerformance(const PluginExports& exports, const std::string& data) {
  std::vector<PerfSection> sections;
  for (const PerfQuery& query : kPerfQueries)
    sections.push_back(DecodeSection(exports, data, query));
  return sections;
}

}  // namespace t740::host
