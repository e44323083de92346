#include "hosting/status/status_metrics.h"

#include <map>
#include <string>

namespace t740::host {
namespace {

struct CounterFamily {
  char letter;
  const char* name;
  const char* direction;  // pointer justifications only
  const char* help;
};

// Both pointer justification letters are one family, told apart by
// direction.
constexpr CounterFamily kCounterFamilies[] = {
    {'A', "t740_errored_blocks", nullptr, "Errored blocks (EB) in the record's period."},
    {'B', "t740_background_block_errors", nullptr,
     "Background block errors (BBE) in the record's period."},
    {'C', "t740_errored_seconds", nullptr, "Errored seconds (ES) in the record's period."},
    {'D', "t740_severely_errored_seconds", nullptr,
     "Severely errored seconds (SES) in the record's period."},
    {'E', "t740_unavailable_seconds", nullptr, "Unavailable seconds (UAS) in the record's period."},
    {'F', "t740_pointer_justifications", "positive",
     "Pointer justifications (PJ+, PJ-) of the higher-order path in the record's period."},
    {'G', "t740_pointer_justifications", "negative", nullptr},
};

struct Layer {
  char group;
  const char* name;
};

constexpr Layer kLayers[] = {
    {'O', "regenerator_section"},       {'P', "multiplex_section"},
    {'Q', "multiplex_section_far_end"}, {'R', "higher_order_path"},
    {'S', "higher_order_path_far_end"},
};

const char* LayerName(char group) {
  for (const Layer& layer : kLayers) {
    if (layer.group == group) return layer.name;
  }
  return nullptr;
}

// A record as the metrics name it.
struct ExportedRecord {
  const char* period;
  const char* record;
  const PerfRow* row;
};

// The current record of each period, and its latest completed one: the
// history record of the highest number the plug-in gave, per port pair.
std::vector<ExportedRecord> ExportedRecords(const std::vector<PerfSection>& sections) {
  std::vector<ExportedRecord> records;
  for (const PerfSection& section : sections) {
    const char* period = section.period == 15 ? "15m" : "24h";
    if (!section.history) {
      for (const PerfRow& row : section.rows) records.push_back({period, "current", &row});
      continue;
    }
    std::map<std::string, const PerfRow*> latest;
    for (const PerfRow& row : section.rows) {
      const PerfRow*& kept = latest[row.ports];
      if (!kept || row.index > kept->index) kept = &row;
    }
    for (const auto& entry : latest) records.push_back({period, "latest_completed", entry.second});
  }
  return records;
}

void WriteFamily(ExpositionWriter& out, const CounterFamily& family,
                 const std::vector<ExportedRecord>& records) {
  for (const ExportedRecord& record : records) {
    if (!record.row->groups) continue;
    for (const Group& group : *record.row->groups) {
      const char* layer = LayerName(group.name);
      if (!layer) continue;
      for (const Counter& counter : group.counters) {
        if (counter.letter != family.letter || !counter.value) continue;
        const Label labels[] = {{"period", record.period},
                                {"record", record.record},
                                {"ports", record.row->ports},
                                {"layer", layer},
                                {"direction", family.direction ? family.direction : ""}};
        out.Sample(family.name, labels, family.direction ? 5 : 4,
                   static_cast<double>(*counter.value));
      }
    }
  }
}

// Fields that are not hex, and records the plug-in did not frame (one
// each, their fields unknown).
int DecodeErrors(const std::vector<ExportedRecord>& records) {
  int errors = 0;
  for (const ExportedRecord& record : records) {
    if (!record.row->groups) {
      ++errors;
      continue;
    }
    for (const Group& group : *record.row->groups) {
      for (const Counter& counter : group.counters) errors += !counter.value;
    }
  }
  return errors;
}

}  // namespace

void WriteAlarmMetrics(ExpositionWriter& out, const std::vector<AlarmRow>& alarms) {
  out.Family("t740_alarm_active", "gauge",
             "1 when the plug-in reports the alarm present, 0 when absent.");
  for (const AlarmRow& alarm : alarms) {
    out.Sample("t740_alarm_active", {{"port", alarm.port}, {"alarm", alarm.name}},
               alarm.Present() ? 1 : 0);
  }
}

void WritePerformanceMetrics(ExpositionWriter& out, const std::vector<PerfSection>& sections) {
  const std::vector<ExportedRecord> records = ExportedRecords(sections);
  for (const CounterFamily& family : kCounterFamilies) {
    if (family.help) out.Family(family.name, "gauge", family.help);
    WriteFamily(out, family, records);
  }
  out.Family("t740_performance_decode_errors", "gauge",
             "Performance counter fields in this probe that were not hex, left out above.");
  out.Sample("t740_performance_decode_errors", {}, DecodeErrors(records));
}

}  // namespace t740::host
