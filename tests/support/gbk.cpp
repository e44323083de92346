#include "support/gbk.h"

#include <iconv.h>

#include <stdexcept>

namespace t740::test {
namespace {

std::string Convert(std::string_view text, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  std::string out(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) throw std::runtime_error("iconv");
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::string Gbk(std::string_view utf8) {
  return Convert(utf8, "UTF-8", "GBK");
}
std::string Utf8(std::string_view gbk) {
  return Convert(gbk, "GBK", "UTF-8");
}

}  // namespace t740::test
