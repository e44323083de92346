// How many terminal columns a text in the terminal's encoding takes: a wide
// character (Chinese) counts 2, as the terminal shows it.
#ifndef T740_HOSTING_TEXT_DISPLAY_WIDTH_H
#define T740_HOSTING_TEXT_DISPLAY_WIDTH_H

#include <string>
#include <string_view>

namespace t740::host {

// By the locale in force; a byte that is no character counts 1.
size_t DisplayWidth(std::string_view text);
// Spaces after the text up to `width` columns.
std::string PadToWidth(std::string text, size_t width);

}  // namespace t740::host

#endif
