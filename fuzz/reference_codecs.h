// The hex-to-bits conversion written out as the card's rules state it, one
// character at a time, for the fuzz targets to hold the shipped code to.
#ifndef T740_FUZZ_REFERENCE_CODECS_H
#define T740_FUZZ_REFERENCE_CODECS_H

#include <string>
#include <string_view>

namespace t740::fuzz {

inline int ReferenceHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A non-hex character repeats the group before it, or adds nothing.
inline std::string ReferenceHexToBits(std::string_view hex) {
  std::string bits;
  std::string group;
  for (char c : hex) {
    const int value = ReferenceHexValue(c);
    if (value >= 0) {
      group.clear();
      for (int bit = 3; bit >= 0; --bit) group += (value >> bit) & 1 ? '1' : '0';
    }
    bits += group;
  }
  return bits;
}

inline bool IsHexText(std::string_view text) {
  for (char c : text) {
    if (ReferenceHexValue(c) < 0) return false;
  }
  return true;
}

inline std::string ReferenceUpper(std::string_view ascii) {
  std::string upper(ascii);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// The characters of [offset, offset + length) that exist.
inline std::string_view ReferenceSlice(std::string_view text, size_t offset, size_t length) {
  return offset >= text.size() ? std::string_view() : text.substr(offset, length);
}

}  // namespace t740::fuzz

#endif
