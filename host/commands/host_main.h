// The whole host run: command line in, exit status out.
#ifndef T740_HOST_COMMANDS_HOST_MAIN_H
#define T740_HOST_COMMANDS_HOST_MAIN_H

#include <ostream>
#include <string>
#include <vector>

namespace t740::host {

// 0 success, 1 the plug-in or the card failed, 2 bad arguments.
int RunHost(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace t740::host

#endif
