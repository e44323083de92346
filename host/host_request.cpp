#include "host/host_request.h"

#include <atomic>

namespace t740::host {
namespace {

// Read from the plug-in's poll worker as well as from the main thread.
std::atomic<Transport*> requestTransport{nullptr};

int HostRequest(int operation, CText ip, CText oid, CText one, CText value, CText* response) {
  Transport* transport = requestTransport.load();
  if (!transport) return 0;
  return transport->Request(operation, ip, oid, one, value, response);
}

}  // namespace

void SetRequestTransport(Transport* transport) {
  requestTransport.store(transport);
}

RequestFunction HostRequestFunction() {
  return &HostRequest;
}

}  // namespace t740::host
