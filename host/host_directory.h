// The directory of the running host, where the plug-in keeps its remark
// files under "Devices".
#ifndef T740_HOST_HOST_DIRECTORY_H
#define T740_HOST_HOST_DIRECTORY_H

#include <string>

namespace t740::host {

// With its trailing separator.
std::string HostDirectory();
// Creates "Devices" in `hostDirectory` unless it exists; throws HostError
// when it cannot.
void EnsureDevicesDirectory(const std::string& hostDirectory);

}  // namespace t740::host

#endif
