#include "alerter/alertmanager/alert.h"

#include <stdexcept>

#include "alerter/alertmanager/rfc3339.h"
#include "alerter/json/json_value.h"
#include "hosting/text/json_text.h"

namespace t740::alerter {
namespace {

using Kind = JsonValue::Kind;

void AppendStringMap(std::string& out, const std::map<std::string, std::string>& map) {
  out += '{';
  const char* separator = "";
  for (const auto& [name, value] : map) {
    out += separator;
    host::AppendJsonString(out, name);
    out += ':';
    host::AppendJsonString(out, value);
    separator = ",";
  }
  out += '}';
}

void AppendTime(std::string& out, const char* name, std::chrono::system_clock::time_point time) {
  if (time.time_since_epoch().count() == 0) return;
  out += ",\"";
  out += name;
  out += "\":\"";
  out += FormatRfc3339(time);
  out += '"';
}

void AppendAlert(std::string& out, const Alert& alert) {
  out += "{\"labels\":";
  AppendStringMap(out, alert.labels);
  out += ",\"annotations\":";
  AppendStringMap(out, alert.annotations);
  AppendTime(out, "startsAt", alert.startsAt);
  AppendTime(out, "endsAt", alert.endsAt);
  if (!alert.generatorUrl.empty()) {
    out += ",\"generatorURL\":";
    host::AppendJsonString(out, alert.generatorUrl);
  }
  out += '}';
}

std::map<std::string, std::string> ReadStringMap(const JsonValue* object) {
  std::map<std::string, std::string> map;
  if (object == nullptr) return map;
  for (const auto& [name, value] : object->members) {
    if (value.kind != Kind::kString) throw std::runtime_error("\"" + name + "\" is not a string");
    map[name] = value.text;
  }
  return map;
}

std::chrono::system_clock::time_point ReadTime(const JsonValue& alert, const char* name) {
  const JsonValue* text = alert.OptionalMember(name, Kind::kString);
  return text == nullptr ? std::chrono::system_clock::time_point() : ParseRfc3339(text->text);
}

Alert ReadAlert(const JsonValue& object) {
  Alert alert;
  alert.labels = ReadStringMap(&object.Member("labels", Kind::kObject));
  alert.annotations = ReadStringMap(object.OptionalMember("annotations", Kind::kObject));
  alert.startsAt = ReadTime(object, "startsAt");
  alert.endsAt = ReadTime(object, "endsAt");
  if (const JsonValue* url = object.OptionalMember("generatorURL", Kind::kString)) {
    alert.generatorUrl = url->text;
  }
  if (const JsonValue* status = object.OptionalMember("status", Kind::kObject)) {
    if (const JsonValue* state = status->OptionalMember("state", Kind::kString)) {
      alert.state = state->text;
    }
  }
  return alert;
}

}  // namespace

std::string AlertsJson(const std::vector<Alert>& alerts) {
  std::string out = "[";
  for (std::size_t i = 0; i < alerts.size(); ++i) {
    if (i > 0) out += ',';
    AppendAlert(out, alerts[i]);
  }
  out += ']';
  return out;
}

std::vector<Alert> ParseAlerts(const std::string& json) {
  const JsonValue document = ParseJson(json);
  if (document.kind != Kind::kArray) throw std::runtime_error("expected a list of alerts");
  std::vector<Alert> alerts;
  alerts.reserve(document.items.size());
  for (const JsonValue& item : document.items) {
    if (item.kind != Kind::kObject) throw std::runtime_error("an alert is not an object");
    alerts.push_back(ReadAlert(item));
  }
  return alerts;
}

}  // namespace t740::alerter
