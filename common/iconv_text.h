// The one loop over iconv: the plug-in's widgets and the substitute host's
// terminal both convert the card's GBK texts with it.
#ifndef T740_COMMON_ICONV_TEXT_H
#define T740_COMMON_ICONV_TEXT_H

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace t740 {

inline const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// How many bytes the character at `text[0]` takes; `left` bytes remain.
using CharacterLength = size_t (*)(const char* text, size_t left);

size_t SingleByte(const char* text, size_t left);
// A GBK lead byte takes its trail byte with it.
size_t GbkCharacterLength(const char* text, size_t left);
size_t Utf8CharacterLength(const char* text, size_t left);

// Converts all of `text`. A character that the target lacks, that is not
// of the source encoding, or that is cut off at the end becomes
// `replacement`, and the conversion goes on after it (`lengthOf` says how
// far).
std::string ConvertText(iconv_t converter, std::string_view text, std::string_view replacement,
                        CharacterLength lengthOf);

}  // namespace t740

#endif
