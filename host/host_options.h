// The options every command shares.
#ifndef T740_HOST_HOST_OPTIONS_H
#define T740_HOST_HOST_OPTIONS_H

#include <string>
#include <vector>

namespace t740::host {

struct HostOptions {
  std::string pluginPath;  // empty: look beside the host, then the build
  std::string ip;
  std::string cardAddress;
  std::string transport;
  std::vector<std::string> simFaults;  // "kind" or "kind:target"
};

HostOptions DefaultHostOptions();

}  // namespace t740::host

#endif
