// What the plug-in's message boxes say about the run: a page's messages
// report failures (data incomplete, a set refused), except the few that
// report a write that succeeded.
#ifndef T740_HOST_WINDOWS_CARD_MESSAGES_H
#define T740_HOST_WINDOWS_CARD_MESSAGES_H

#include <string_view>

namespace t740::host {

// `utf8` is the message box's text as the operator reads it.
bool ReportsSuccess(std::string_view utf8);

}  // namespace t740::host

#endif
