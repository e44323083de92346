#include "hosting/text/terminal_text.h"

#include <langinfo.h>

#include <string>

#include "common/iconv_text.h"

namespace t740::host {
namespace {

std::string AsciiOnly(std::string_view text, CharacterLength lengthOf) {
  std::string ascii;
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ascii += text[i++];
      continue;
    }
    ascii += '?';
    i += lengthOf(text.data() + i, text.size() - i);
  }
  return ascii;
}

iconv_t OpenTo(const char* encoding, const char* from) {
  const std::string target = std::string(encoding) + "//TRANSLIT";
  return iconv_open(target.c_str(), from);
}

// One "?" for each whole character the terminal lacks.
std::string Convert(iconv_t converter, std::string_view text, CharacterLength lengthOf) {
  if (converter == kNoConverter) return AsciiOnly(text, lengthOf);
  return ConvertText(converter, text, "?", lengthOf);
}

}  // namespace

TerminalText::TerminalText() : TerminalText(nl_langinfo(CODESET)) {}

TerminalText::TerminalText(const char* encoding)
    : converter_(OpenTo(encoding, "GBK")), utf8Converter_(OpenTo(encoding, "UTF-8")) {}

TerminalText::~TerminalText() {
  if (converter_ != kNoConverter) iconv_close(converter_);
  if (utf8Converter_ != kNoConverter) iconv_close(utf8Converter_);
}

std::string TerminalText::FromGbk(std::string_view gbk) const {
  return Convert(converter_, gbk, GbkCharacterLength);
}

std::string TerminalText::FromUtf8(std::string_view utf8) const {
  return Convert(utf8Converter_, utf8, Utf8CharacterLength);
}

}  // namespace t740::host
