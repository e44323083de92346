// SNMP sessions kept from one probe to the next, one set per conversation:
// agent address and community, or v3 user with its level, protocols and
// pass phrases. The time-out and retries are each probe's, not the
// conversation's. A probe borrows an idle session of its agent, so that it
// opens no socket of its own and an SNMPv3 probe neither discovers the
// agent's engine again nor makes its keys from the pass phrases. Beyond a
// bound on the agents kept, the one probed least recently is let go (its
// sessions close once no probe holds them, and the library's user entry
// and time of its engine go with it), so what the process keeps per agent
// stays bounded whatever targets it is asked to probe. Any thread.
#ifndef T740_MONITORING_PROBE_SESSION_POOL_H
#define T740_MONITORING_PROBE_SESSION_POOL_H

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "hosting/transport/snmp_sessions.h"

namespace t740::monitoring {

// Idle sessions kept per agent: probes of one agent at once beyond this
// open sessions that close again after them. Each kept session holds its
// memory and a socket, so the bound is small: Prometheus spreads the
// probes of an agent's cards over the interval.
constexpr size_t kIdleSessionsPerAgent = 4;

class SessionPool {
 public:
  explicit SessionPool(size_t agentsMaximum) : agentsMaximum_(agentsMaximum) {}

  std::shared_ptr<host::SnmpSessions> For(const host::SnmpPeer& peer);
  size_t Agents() const;

 private:
  using Recent = std::list<std::pair<std::string, std::shared_ptr<host::SnmpSessions>>>;

  const size_t agentsMaximum_;
  mutable std::mutex mutex_;
  Recent recent_;  // the most recently probed first
  std::unordered_map<std::string, Recent::iterator> byKey_;
};

// What tells one conversation from another.
std::string SessionPoolKey(const host::SnmpPeer& peer);

// How many agents the pool keeps within the process's limit of open files,
// each with its idle sessions' sockets, leaving room for the HTTP
// server's `connections`, a session for each of the `probesAtOnce`, and the
// process's own.
size_t SessionPoolAgents(size_t openFilesLimit, size_t connections, size_t probesAtOnce);

// Raises the process's limit of open files to the most it may have; the
// limit then in force.
size_t RaiseOpenFilesLimit();

}  // namespace t740::monitoring

#endif
