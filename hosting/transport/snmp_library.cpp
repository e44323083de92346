#include "hosting/transport/snmp_library.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include "protocol/snmp_sandbox.h"

namespace t740::host {
namespace {

constexpr char kApplication[] = "t740-host";

class SnmpLibrary {
 public:
  SnmpLibrary() {
    netsnmp_register_loghandler(NETSNMP_LOGHANDLER_STDERR, LOG_WARNING);
    init_snmp(kApplication);
  }
  ~SnmpLibrary() { snmp_shutdown(kApplication); }

 private:
  // Made before the library starts, removed after it has shut down.
  protocol::SnmpSandbox sandbox_;
};

}  // namespace

void StartSnmpLibrary() {
  std::lock_guard<std::mutex> lock(SnmpLibraryMutex());
  static SnmpLibrary library;
}

std::mutex& SnmpLibraryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::timed_mutex& SnmpV3Mutex() {
  static std::timed_mutex mutex;
  return mutex;
}

}  // namespace t740::host
