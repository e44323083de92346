#ifndef T740_ALERTER_JSON_JSON_VALUE_H
#define T740_ALERTER_JSON_JSON_VALUE_H

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace t740::alerter {

// A parsed JSON document, enough to read Alertmanager's answers. Numbers are
// kept as their text: nothing read from Alertmanager needs arithmetic.
struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  std::string text;  // a string's value or a number's text
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  // The member `name` of an object; throws std::runtime_error when this is
  // not an object, lacks it, or it is not of `kind`.
  const JsonValue& Member(const std::string& name, Kind kind) const;
  // As Member, but nullptr when the member is absent or null.
  const JsonValue* OptionalMember(const std::string& name, Kind kind) const;
};

// Parses one JSON text (RFC 8259); throws std::runtime_error naming the
// offset of the first fault.
JsonValue ParseJson(std::string_view text);

}  // namespace t740::alerter

#endif
