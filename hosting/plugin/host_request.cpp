#include "hosting/plugin/host_request.h"

#include <atomic>
#include <mutex>

#include "hosting/plugin/waiting_for.h"

namespace t740::host {
namespace {

// Read from the plug-in's poll worker as well as from the main thread.
std::atomic<Transport*> requestTransport{nullptr};

std::mutex failureMutex;
RequestFailures failures;

void NoteFailure(const std::string& oid, const char* what) {
  std::lock_guard<std::mutex> lock(failureMutex);
  ++failures.count;
  failures.last = oid + ": " + what;
}

int HostRequest(int operation, CText ip, CText oid, CText one, CText value, CText* response) {
  Transport* transport = requestTransport.load();
  if (!transport) return 0;
  const std::string identifier(oid.view());
  const Waiting waiting("the card's answer to the " +
                        std::string(operation == 1 ? "write of " : "read of ") + identifier);
  // The exception still reaches the plug-in, which must survive it; the
  // host notes it, since a page read ends on one without a word.
  try {
    return transport->Request(operation, ip, oid, one, value, response);
  } catch (const std::exception& error) {
    NoteFailure(identifier, error.what());
    throw;
  }
}

}  // namespace

void SetRequestTransport(Transport* transport) {
  requestTransport.store(transport);
}

RequestFunction HostRequestFunction() {
  return &HostRequest;
}

RequestFailures FailedRequests() {
  std::lock_guard<std::mutex> lock(failureMutex);
  return failures;
}

}  // namespace t740::host
