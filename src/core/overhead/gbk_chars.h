// Character steps through GBK text: a lead byte 0x81-0xFE and the byte after
// it form one double-byte character; every other byte stands alone.
#ifndef T740_CORE_OVERHEAD_GBK_CHARS_H
#define T740_CORE_OVERHEAD_GBK_CHARS_H

#include <cstddef>
#include <string_view>

namespace t740 {

// Bytes of the character that starts at `at`; a lead byte at the very end
// of the text has no partner and counts alone.
inline size_t GbkCharLength(std::string_view text, size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  const bool lead = byte >= 0x81 && byte <= 0xFE;
  return lead && at + 1 < text.size() ? 2 : 1;
}

}  // namespace t740

#endif
