#include "widgets/gbk_qt.h"

#include "common/iconv_text.h"

namespace t740 {
namespace {

// A converter of its own for each call; a GBK byte that does not convert
// is replaced on its own, a UTF-8 character as a whole.
std::string Convert(std::string_view text, const char* from, const char* to,
                    std::string_view replacement, CharacterLength lengthOf) {
  const iconv_t converter = iconv_open(to, from);
  if (converter == kNoConverter) return std::string();
  std::string out = ConvertText(converter, text, replacement, lengthOf);
  iconv_close(converter);
  return out;
}

}  // namespace

QString FromGbk(std::string_view gbk) {
  const std::string utf8 = Convert(gbk, "GBK", "UTF-8", "\xEF\xBF\xBD", SingleByte);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToGbk(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Convert(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), "UTF-8",
                 "GBK", "?", Utf8CharacterLength);
}

}  // namespace t740
