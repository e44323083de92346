#include "hosting/text/display_width.h"

#include <cwchar>

namespace t740::host {

size_t DisplayWidth(std::string_view text) {
  std::mbstate_t state{};
  size_t width = 0;
  while (!text.empty()) {
    wchar_t character = 0;
    const size_t length = std::mbrtowc(&character, text.data(), text.size(), &state);
    if (length == static_cast<size_t>(-1) || length == static_cast<size_t>(-2) || length == 0) {
      state = std::mbstate_t{};
      ++width;
      text.remove_prefix(1);
      continue;
    }
    const int columns = ::wcwidth(character);
    width += columns < 0 ? 1 : static_cast<size_t>(columns);
    text.remove_prefix(length);
  }
  return width;
}

std::string PadToWidth(std::string text, size_t width) {
  const size_t used = DisplayWidth(text);
  if (used < width) text.append(width - used, ' ');
  return text;
}

}  // namespace t740::host
