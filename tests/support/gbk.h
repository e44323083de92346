// Test-side conversion between the UTF-8 of our sources and the GBK bytes
// that the plug-in speaks, so that expectations can be written readably.
#ifndef T740_TESTS_SUPPORT_GBK_H
#define T740_TESTS_SUPPORT_GBK_H

#include <string>
#include <string_view>

namespace t740::test {

std::string Gbk(std::string_view utf8);
std::string Utf8(std::string_view gbk);

}  // namespace t740::test

#endif
