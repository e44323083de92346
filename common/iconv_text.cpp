#include "common/iconv_text.h"

#include <cerrno>

namespace t740 {

size_t SingleByte(const char*, size_t) {
  return 1;
}

size_t GbkCharacterLength(const char* text, size_t left) {
  const auto byte = static_cast<unsigned char>(*text);
  return byte >= 0x81 && byte <= 0xFE && left >= 2 ? 2 : 1;
}

size_t Utf8CharacterLength(const char* text, size_t left) {
  size_t length = 1;
  while (length < left && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) ++length;
  return length;
}

std::string ConvertText(iconv_t converter, std::string_view text, std::string_view replacement,
                        CharacterLength lengthOf) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  out.reserve(text.size() * 2);
  char buffer[256];
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr);
    if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
    const size_t skip = lengthOf(in, inLeft);
    out.append(replacement);
    in += skip;
    inLeft -= skip;
  }
  return out;
}

}  // namespace t740
