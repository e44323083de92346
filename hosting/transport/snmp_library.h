// net-snmp in the host: started once, from the main thread, before any
// session opens, kept to a temporary directory (no configuration, MIBs or
// saved state), and shut down when the process ends.
#ifndef T740_HOSTING_TRANSPORT_SNMP_LIBRARY_H
#define T740_HOSTING_TRANSPORT_SNMP_LIBRARY_H

#include <mutex>

namespace t740::host {

// Starts the library the first time; later calls do nothing. Throws
// std::runtime_error when it cannot start.
void StartSnmpLibrary();

// The library keeps process-wide state (request ids, session setup) without
// locks of its own: hold this around every call that touches it, except a
// session's own exchange.
std::mutex& SnmpLibraryMutex();

// Held around each SNMPv3 exchange: the library's cache of the agents'
// engine boots and time is not guarded either.
std::timed_mutex& SnmpV3Mutex();

}  // namespace t740::host

#endif
