// A JSON object written member by member into a string, every text through
// AppendJsonString: whatever a card or an operator wrote stays data.
#ifndef T740_ALERTER_DESK_JSON_OBJECT_H
#define T740_ALERTER_DESK_JSON_OBJECT_H

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace t740::alerter {

class JsonObject {
 public:
  explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }

  JsonObject& Text(const char* name, std::string_view value);
  // RFC 3339 in UTC with milliseconds.
  JsonObject& Time(const char* name, std::chrono::system_clock::time_point value);
  JsonObject& Number(const char* name, int64_t value);
  JsonObject& Bool(const char* name, bool value);
  JsonObject& Null(const char* name);
  // Writes the name; the caller appends its value.
  std::string& Value(const char* name);
  void Close() { out_ += '}'; }

 private:
  std::string& out_;
  bool first_ = true;
};

}  // namespace t740::alerter

#endif
