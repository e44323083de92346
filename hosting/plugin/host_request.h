// The host's request function as the plug-in receives it: a plain function
// that hands each request to the host's transport.
#ifndef T740_HOSTING_PLUGIN_HOST_REQUEST_H
#define T740_HOSTING_PLUGIN_HOST_REQUEST_H

#include <string>

#include "hosting/transport/transport.h"
#include "t740/abi.h"

namespace t740::host {

// The transport the request function uses from now on; null answers
// nothing.
void SetRequestTransport(Transport* transport);
RequestFunction HostRequestFunction();

// Requests whose transport threw, so far.
struct RequestFailures {
  int count = 0;
  std::string last;  // the identifier and why
};
RequestFailures FailedRequests();

}  // namespace t740::host

#endif
