#include "boundary/gbk_qt.h"

#include <iconv.h>

#include <cerrno>

namespace t740 {
namespace {

// Converts with glibc's iconv; an invalid input sequence is replaced by
// `replacement` and skipped one byte (or one UTF-8 character) at a time.
std::string Convert(std::string_view text, const char* from, const char* to,
                    std::string_view replacement, bool utf8Input) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
  std::string out;
  out.reserve(text.size() * 2);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ or EINVAL: replace the offending character and go on.
    size_t skip = 1;
    if (utf8Input) {
      while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
    }
    out.append(replacement);
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

}  // namespace

QString FromGbk(std::string_view gbk) {
  const std::string utf8 = Convert(gbk, "GBK", "UTF-8", "\xEF\xBF\xBD", false);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToGbk(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Convert(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), "UTF-8",
                 "GBK", "?", true);
}

}  // namespace t740
