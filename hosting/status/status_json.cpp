#include "hosting/status/status_json.h"

#include "hosting/status/perf_record_text.h"
#include "hosting/text/gbk_text.h"
#include "hosting/text/json_writer.h"

namespace t740::host {
namespace {

constexpr int16_t kAlarmPresent = 0;

void Text(JsonWriter& json, const char* key, const std::string& gbk) {
  json.Key(key);
  json.String(GbkToUtf8(gbk));
}

// "光口A:RS-TIM": port "A", name "RS-TIM".
void AlarmNames(JsonWriter& json, const std::string& text) {
  const std::string utf8 = GbkToUtf8(text);
  const size_t colon = utf8.find(':');
  json.Key("port");
  if (colon == std::string::npos || colon == 0) {
    json.Null();
  } else {
    json.String(utf8.substr(colon - 1, 1));
  }
  json.Key("name");
  json.String(colon == std::string::npos ? utf8 : utf8.substr(colon + 1));
}

void Alarms(JsonWriter& json, const std::vector<AlarmRow>& alarms) {
  json.BeginArray();
  for (const AlarmRow& alarm : alarms) {
    json.BeginObject();
    json.Key("type");
    json.Number(alarm.type);
    AlarmNames(json, alarm.text);
    Text(json, "text", alarm.text);
    json.Key("level");
    json.Number(alarm.level);
    json.Key("present");
    json.Bool(alarm.level == kAlarmPresent);
    json.EndObject();
  }
  json.EndArray();
}

void Leds(JsonWriter& json, const LedRow& leds) {
  json.BeginObject();
  json.Key("count");
  json.Number(leds.count);
  json.Key("states");
  json.BeginArray();
  for (char state : leds.states) json.String(GbkToUtf8(std::string(1, state)));
  json.EndArray();
  json.EndObject();
}

void Groups(JsonWriter& json, const std::string& text) {
  const auto groups = ParseRecord(text);
  json.Key("groups");
  if (!groups) {
    json.Null();
    return;
  }
  json.BeginObject();
  for (const CounterGroup& group : *groups) {
    json.Key(GbkToUtf8(std::string(1, group.name)));
    json.BeginObject();
    for (const auto& [letter, hex] : group.counters) {
      json.Key(GbkToUtf8(std::string(1, letter)));
      if (const auto value = CounterValue(hex)) {
        json.Number(*value);
      } else {
        json.Null();
      }
    }
    json.EndObject();
  }
  json.EndObject();
}

// "A/C光口": the port pair "A/C".
std::string PortPair(const std::string& label) {
  const std::string utf8 = GbkToUtf8(label);
  const size_t end = utf8.find_first_not_of("ABCD/");
  return utf8.substr(0, end);
}

void Records(JsonWriter& json, const std::vector<PerfSection>& sections) {
  json.BeginArray();
  for (const PerfSection& section : sections) {
    for (const PerfRow& row : section.rows) {
      json.BeginObject();
      json.Key("period");
      json.Number(section.period);
      json.Key("history");
      json.Bool(section.history);
      json.Key("index");
      if (row.index < 0) {
        json.Null();
      } else {
        json.Number(row.index);
      }
      json.Key("port");
      json.String(PortPair(row.label));
      Text(json, "label", row.label);
      Groups(json, row.text);
      Text(json, "text", row.text);
      json.EndObject();
    }
  }
  json.EndArray();
}

template <typename Part, typename Write>
void Optional(JsonWriter& json, const char* key, const std::optional<Part>& part, Write write) {
  json.Key(key);
  if (part) {
    write(json, *part);
  } else {
    json.Null();
  }
}

}  // namespace

void PrintStatusJson(std::ostream& out, const CardOrigin& origin, const CardStatus& status) {
  JsonWriter json(out);
  json.BeginObject();
  json.Key("card");
  json.BeginObject();
  json.Key("ip");
  json.String(origin.ip);
  json.Key("cardAddress");
  json.String(origin.cardAddress);
  json.Key("transport");
  json.String(origin.transport);
  json.Key("plugin");
  json.String(origin.plugin);
  json.EndObject();
  json.Key("complete");
  json.Bool(status.alarms && status.leds && status.performance);
  Optional(json, "alarms", status.alarms, Alarms);
  Optional(json, "leds", status.leds, Leds);
  Optional(json, "performance", status.performance, Records);
  json.EndObject();
}

}  // namespace t740::host
