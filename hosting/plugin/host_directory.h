// Where t740-host keeps what the plug-in writes (the remark files under
// "Devices"): never beside the program, which may sit in a read-only
// place, but in the operator's state directory unless told otherwise.
#ifndef T740_HOSTING_PLUGIN_HOST_DIRECTORY_H
#define T740_HOSTING_PLUGIN_HOST_DIRECTORY_H

#include <string>

namespace t740::host {

// With its trailing separator: `requested` (--host-directory) when given,
// else T740_HOST_DIRECTORY from the environment, else
// $XDG_STATE_HOME/t740/, else ~/.local/state/t740/. Throws HostError when
// no home directory is known.
std::string ChooseHostDirectory(const std::string& requested);
// Creates `hostDirectory` (private to the user) and "Devices" in it
// unless they exist; throws HostError when it cannot.
void EnsureDevicesDirectory(const std::string& hostDirectory);

}  // namespace t740::host

#endif
