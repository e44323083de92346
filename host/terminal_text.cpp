#include "host/terminal_text.h"

#include <langinfo.h>

#include <cerrno>
#include <string>

namespace t740::host {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool IsLeadByte(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

bool IsUtf8Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// How many bytes the character at `text[0]` takes, in its encoding.
using CharacterLength = size_t (*)(const char* text, size_t left);

size_t GbkLength(const char* text, size_t left) {
  // A GBK lead byte takes its trail byte with it.
  return IsLeadByte(*text) && left >= 2 ? 2 : 1;
}

size_t Utf8Length(const char* text, size_t left) {
  size_t length = 1;
  while (length < left && IsUtf8Continuation(text[length])) ++length;
  return length;
}

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

std::string Convert(iconv_t converter, std::string_view text, CharacterLength lengthOf) {
  if (converter == kNoConverter) return AsciiOnly(text, lengthOf);
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr);
    if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // A character the terminal lacks, a byte that is not of the encoding,
    // or a character cut off at the end: one "?" for the whole character.
    const size_t skip = lengthOf(in, inLeft);
    out += '?';
    in += skip;
    inLeft -= skip;
  }
  return out;
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
  return Convert(converter_, gbk, GbkLength);
}

std::string TerminalText::FromUtf8(std::string_view utf8) const {
  return Convert(utf8Converter_, utf8, Utf8Length);
}

}  // namespace t740::host
