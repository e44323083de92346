#include "alerter/json/json_value.h"

#include <stdexcept>

#include "hosting/text/json_text.h"

namespace t740::alerter {
namespace {

// Alertmanager's answers nest four deep; the bound keeps hostile input from
// exhausting the stack.
constexpr int kMaxDepth = 64;

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  JsonValue Document() {
    JsonValue value = Value(0);
    SkipSpace();
    if (at_ != text_.size()) Fail("text after the JSON value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("malformed JSON at offset " + std::to_string(at_) + ": " + what);
  }

  void SkipSpace() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) {
      ++at_;
    }
  }

  char Peek() {
    SkipSpace();
    if (at_ >= text_.size()) Fail("unexpected end");
    return text_[at_];
  }

  void Expect(char c) {
    if (Peek() != c) Fail(std::string("expected '") + c + "'");
    ++at_;
  }

  bool Consume(char c) {
    if (Peek() != c) return false;
    ++at_;
    return true;
  }

  void Keyword(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) Fail("unknown literal");
    at_ += word.size();
  }

  JsonValue Value(int depth) {
    if (depth > kMaxDepth) Fail("nested too deep");
    JsonValue value;
    const char c = Peek();
    if (c == '{') {
      value.kind = JsonValue::Kind::kObject;
      ReadObject(value, depth);
    } else if (c == '[') {
      value.kind = JsonValue::Kind::kArray;
      ReadArray(value, depth);
    } else if (c == '"') {
      value.kind = JsonValue::Kind::kString;
      value.text = String();
    } else if (c == 't' || c == 'f') {
      value.kind = JsonValue::Kind::kBool;
      value.boolean = c == 't';
      Keyword(value.boolean ? "true" : "false");
    } else if (c == 'n') {
      Keyword("null");
    } else {
      value.kind = JsonValue::Kind::kNumber;
      value.text = Number();
    }
    return value;
  }

  void ReadObject(JsonValue& object, int depth) {
    Expect('{');
    if (Consume('}')) return;
    do {
      if (Peek() != '"') Fail("expected a member name");
      std::string name = String();
      Expect(':');
      object.members[std::move(name)] = Value(depth + 1);
    } while (Consume(','));
    Expect('}');
  }

  void ReadArray(JsonValue& array, int depth) {
    Expect('[');
    if (Consume(']')) return;
    do {
      array.items.push_back(Value(depth + 1));
    } while (Consume(','));
    Expect(']');
  }

  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  void Digits() {
    if (at_ >= text_.size() || !IsDigit(text_[at_])) Fail("expected a digit");
    while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
  }

  bool Next(char c) {
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }

  std::string Number() {
    const std::size_t start = at_;
    Next('-');
    if (!Next('0')) Digits();
    if (Next('.')) Digits();
    if (Next('e') || Next('E')) {
      if (!Next('+')) Next('-');
      Digits();
    }
    return std::string(text_.substr(start, at_ - start));
  }

  char32_t Hex4() {
    if (at_ + 4 > text_.size()) Fail("short \\u escape");
    char32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[at_++];
      value <<= 4;
      if (IsDigit(c)) {
        value |= static_cast<char32_t>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        value |= static_cast<char32_t>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        value |= static_cast<char32_t>(c - 'A' + 10);
      } else {
        Fail("bad \\u escape");
      }
    }
    return value;
  }

  // A \u escape, joining a surrogate pair; a lone surrogate becomes U+FFFD.
  char32_t UnicodeEscape() {
    const char32_t first = Hex4();
    if (first < 0xD800 || first > 0xDBFF) return first;
    if (text_.substr(at_, 2) != "\\u") return first;
    const std::size_t mark = at_;
    at_ += 2;
    const char32_t second = Hex4();
    if (second < 0xDC00 || second > 0xDFFF) {
      at_ = mark;
      return first;
    }
    return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
  }

  void Escape(std::string& out) {
    if (at_ >= text_.size()) Fail("unterminated string");
    const char c = text_[at_++];
    switch (c) {
      case '"':
        out += '"';
        break;
      case '\\':
        out += '\\';
        break;
      case '/':
        out += '/';
        break;
      case 'b':
        out += '\b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'u':
        host::AppendUtf8(out, UnicodeEscape());
        break;
      default:
        Fail("bad escape");
    }
  }

  std::string String() {
    Expect('"');
    std::string out;
    for (;;) {
      if (at_ >= text_.size()) Fail("unterminated string");
      const char c = text_[at_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
      if (c == '\\') {
        Escape(out);
      } else {
        out += c;
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

const char* KindName(JsonValue::Kind kind) {
  switch (kind) {
    case JsonValue::Kind::kNull:
      return "null";
    case JsonValue::Kind::kBool:
      return "a boolean";
    case JsonValue::Kind::kNumber:
      return "a number";
    case JsonValue::Kind::kString:
      return "a string";
    case JsonValue::Kind::kArray:
      return "an array";
    case JsonValue::Kind::kObject:
      return "an object";
  }
  return "unknown";
}

}  // namespace

const JsonValue* JsonValue::OptionalMember(const std::string& name, Kind wanted) const {
  if (kind != Kind::kObject) throw std::runtime_error("expected an object around \"" + name + "\"");
  const auto found = members.find(name);
  if (found == members.end() || found->second.kind == Kind::kNull) return nullptr;
  if (found->second.kind != wanted) {
    throw std::runtime_error("\"" + name + "\" is not " + KindName(wanted));
  }
  return &found->second;
}

const JsonValue& JsonValue::Member(const std::string& name, Kind wanted) const {
  const JsonValue* member = OptionalMember(name, wanted);
  if (member == nullptr) throw std::runtime_error("\"" + name + "\" is missing");
  return *member;
}

JsonValue ParseJson(std::string_view text) {
  return JsonReader(text).Document();
}

}  // namespace t740::alerter
