#include "hosting/text/gbk_text.h"

#include "common/iconv_text.h"
#include "hosting/text/terminal_text.h"

namespace t740::host {

std::string GbkToUtf8(std::string_view gbk) {
  // An iconv descriptor keeps state while it converts: one per thread, as
  // the exporter decodes on many.
  static thread_local const TerminalText utf8(TerminalText::kUtf8);
  return utf8.FromGbk(gbk);
}

std::string Utf8ToGbk(std::string_view utf8) {
  const iconv_t converter = iconv_open("GBK", "UTF-8");
  if (converter == kNoConverter) return std::string();
  // Two bytes at most per character, which takes at least one byte.
  std::string gbk(utf8.size() * 2, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* out = gbk.data();
  size_t outLeft = gbk.size();
  const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1)) return std::string();
  gbk.resize(gbk.size() - outLeft);
  return gbk;
}

}  // namespace t740::host
