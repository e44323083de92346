// Where the host application lives: the remark files sit beside it.
#ifndef T740_CONSOLE_HOST_DIRECTORY_H
#define T740_CONSOLE_HOST_DIRECTORY_H

#include <string>

namespace t740 {

// The directory of the running executable with its trailing "/", or empty
// when the system does not say.
std::string HostDirectory();

}  // namespace t740

#endif
