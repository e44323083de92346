#include "core/overhead/upper_ascii.h"

#include "core/overhead/gbk_chars.h"

namespace t740 {

std::string UpperAscii(std::string_view gbk) {
  std::string out(gbk);
  for (size_t at = 0; at < out.size();) {
    const size_t length = GbkCharLength(out, at);
    // A trail byte may fall in "a".."z"; it is part of its character.
    if (length == 1 && out[at] >= 'a' && out[at] <= 'z')
      out[at] = static_cast<char>(out[at] - 'a' + 'A');
    at += length;
  }
  return out;
}

}  // namespace t740
