// The widget edge: the plug-in's texts are GBK bytes, Qt's are QStrings.
#ifndef T740_WIDGETS_GBK_QT_H
#define T740_WIDGETS_GBK_QT_H

#include <QString>
#include <string>
#include <string_view>

namespace t740 {

// Bytes that are not valid GBK become U+FFFD; nothing is dropped silently.
QString FromGbk(std::string_view gbk);
// Characters without a GBK form become "?".
std::string ToGbk(const QString& text);

}  // namespace t740

#endif
