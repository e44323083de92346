// JSON strings from any bytes: what a card, an operator or the plug-in
// wrote is always written as valid JSON text.
#ifndef T740_HOSTING_TEXT_JSON_TEXT_H
#define T740_HOSTING_TEXT_JSON_TEXT_H

#include <string>
#include <string_view>

namespace t740::host {

// Appends `bytes` as a quoted JSON string. Card traces may hold any byte:
// control characters are escaped, and whatever is not valid UTF-8 becomes
// U+FFFD, so that Alertmanager never refuses a batch for one bad byte.
void AppendJsonString(std::string& out, std::string_view bytes);

// Appends the code point as UTF-8; surrogates and values past U+10FFFF
// become U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace t740::host

#endif
