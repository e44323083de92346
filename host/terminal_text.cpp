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

std::string AsciiOnly(std::string_view text) {
  std::string ascii;
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ascii += text[i];
      continue;
    }
    ascii += '?';
    // A GBK lead byte takes its trail byte with it.
    if (IsLeadByte(text[i]) && i + 1 < text.size()) ++i;
  }
  return ascii;
}

}  // namespace

TerminalText::TerminalText() {
  const std::string target = std::string(nl_langinfo(CODESET)) + "//TRANSLIT";
  converter_ = iconv_open(target.c_str(), "GBK");
}

TerminalText::~TerminalText() {
  if (converter_ != kNoConverter) iconv_close(converter_);
}

std::string TerminalText::FromGbk(std::string_view gbk) const {
  if (converter_ == kNoConverter) return AsciiOnly(gbk);
  iconv(converter_, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(gbk.data());
  size_t inLeft = gbk.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(converter_, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr);
    if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // A character the terminal lacks, a byte that is not GBK, or a
    // character cut off at the end: one "?" for the whole character.
    const size_t skip = IsLeadByte(*in) && inLeft >= 2 ? 2 : 1;
    out += '?';
    in += skip;
    inLeft -= skip;
  }
  return out;
}

}  // namespace t740::host
