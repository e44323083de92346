#include "hosting/text/json_writer.h"

#include <string>

#include "hosting/text/json_text.h"

namespace t740::host {

void JsonWriter::NewLine() {
  out_ << '\n' << std::string(2 * filled_.size(), ' ');
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (filled_.empty()) return;
  if (filled_.back()) out_ << ',';
  filled_.back() = true;
  NewLine();
}

void JsonWriter::Close(char bracket) {
  const bool filled = filled_.back();
  filled_.pop_back();
  if (filled) NewLine();
  out_ << bracket;
  if (filled_.empty()) out_ << '\n';
}

void JsonWriter::BeginObject() {
  BeforeValue();
  out_ << '{';
  filled_.push_back(false);
}

void JsonWriter::EndObject() {
  Close('}');
}

void JsonWriter::BeginArray() {
  BeforeValue();
  out_ << '[';
  filled_.push_back(false);
}

void JsonWriter::EndArray() {
  Close(']');
}

void JsonWriter::Key(std::string_view name) {
  BeforeValue();
  Quoted(name);
  out_ << ": ";
  afterKey_ = true;
}

void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  Quoted(utf8);
}

void JsonWriter::Number(int64_t value) {
  BeforeValue();
  out_ << value;
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ << (value ? "true" : "false");
}

void JsonWriter::Null() {
  BeforeValue();
  out_ << "null";
}

void JsonWriter::Quoted(std::string_view text) {
  std::string quoted;
  AppendJsonString(quoted, text);
  out_ << quoted;
}

}  // namespace t740::host
