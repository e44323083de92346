// The plug-in's GBK texts and UTF-8, whatever the terminal speaks. Any
// thread.
#ifndef T740_HOSTING_TEXT_GBK_TEXT_H
#define T740_HOSTING_TEXT_GBK_TEXT_H

#include <string>
#include <string_view>

namespace t740::host {

// A byte that is not GBK, or a cut character, becomes "?".
std::string GbkToUtf8(std::string_view gbk);
// Empty when the text has no GBK form.
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace t740::host

#endif
