#include "alerter/desk/json_object.h"

#include "alerter/alertmanager/rfc3339.h"
#include "hosting/text/json_text.h"

namespace t740::alerter {

std::string& JsonObject::Value(const char* name) {
  if (!first_) out_ += ',';
  first_ = false;
  host::AppendJsonString(out_, name);
  out_ += ':';
  return out_;
}

JsonObject& JsonObject::Text(const char* name, std::string_view value) {
  host::AppendJsonString(Value(name), value);
  return *this;
}

JsonObject& JsonObject::Time(const char* name, std::chrono::system_clock::time_point value) {
  return Text(name, FormatRfc3339(value));
}

JsonObject& JsonObject::Number(const char* name, int64_t value) {
  Value(name) += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::Bool(const char* name, bool value) {
  Value(name) += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::Null(const char* name) {
  Value(name) += "null";
  return *this;
}

}  // namespace t740::alerter
