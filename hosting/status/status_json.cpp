#include "hosting/status/status_json.h"

#include "hosting/text/gbk_text.h"
#include "hosting/text/json_writer.h"

namespace t740::host {
namespace {

void Text(JsonWriter& json, const char* key, const std::string& gbk) {
  json.Key(key);
  json.String(GbkToUtf8(gbk));
}

void AlarmNames(JsonWriter& json, const AlarmRow& alarm) {
  json.Key("port");
  if (alarm.port.empty()) {
    json.Null();
  } else {
    json.String(alarm.port);
  }
  json.Key("name");
  json.String(alarm.name);
}

void Alarms(JsonWriter& json, const std::vector<AlarmRow>& alarms) {
  json.BeginArray();
  for (const AlarmRow& alarm : alarms) {
    json.BeginObject();
    json.Key("type");
    json.Number(alarm.type);
    AlarmNames(json, alarm);
    Text(json, "text", alarm.text);
    json.Key("level");
    json.Number(alarm.level);
    json.Key("present");
    json.Bool(alarm.Present());
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

void Groups(JsonWriter& json, const std::optional<std::vector<Group>>& groups) {
  json.Key("groups");
  if (!groups) {
    json.Null();
    return;
  }
  json.BeginObject();
  for (const Group& group : *groups) {
    json.Key(GbkToUtf8(std::string(1, group.name)));
    json.BeginObject();
    for (const Counter& counter : group.counters) {
      json.Key(GbkToUtf8(std::string(1, counter.letter)));
      if (counter.value) {
        json.Number(*counter.value);
      } else {
        json.Null();
      }
    }
    json.EndObject();
  }
  json.EndObject();
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
      json.String(row.ports);
      Text(json, "label", row.label);
      Groups(json, row.groups);
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
