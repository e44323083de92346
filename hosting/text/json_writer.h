// A JSON document written as it goes, indented two spaces a level. Texts
// are written as AppendJsonString writes them: escaped, and valid UTF-8
// whatever bytes they hold.
#ifndef T740_HOSTING_TEXT_JSON_WRITER_H
#define T740_HOSTING_TEXT_JSON_WRITER_H

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace t740::host {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The name of the next value inside an object.
  void Key(std::string_view name);
  void String(std::string_view utf8);
  void Number(int64_t value);
  void Bool(bool value);
  void Null();

 private:
  void BeforeValue();
  void Close(char bracket);
  void NewLine();
  void Quoted(std::string_view text);

  std::ostream& out_;
  // One entry per open bracket: whether it holds a value yet.
  std::vector<bool> filled_;
  bool afterKey_ = false;
};

}  // namespace t740::host

#endif
