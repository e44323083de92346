// SNMP sessions to one agent, in one SNMPv2c community or as one SNMPv3
// user. net-snmp's single-
// session calls are safe as long as each session is used by one thread at
// a time, so every exchange borrows a session of its own: an idle one, or
// one opened for it (under the library's lock). The poll worker and the
// user-interface thread thus never share a session.
#ifndef T740_HOSTING_TRANSPORT_SNMP_SESSIONS_H
#define T740_HOSTING_TRANSPORT_SNMP_SESSIONS_H

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hosting/transport/snmp_security.h"

namespace t740::host {

struct SnmpPeer {
  std::string name;       // net-snmp's form, e.g. "udp:127.0.0.1:1161"
  std::string community;  // SNMPv2c
  int timeoutMilliseconds;
  int retries;
  std::optional<UsmUser> user;  // SNMPv3 when set

  // The longest any request may wait: every try's time-out.
  std::chrono::milliseconds Bound() const {
    return std::chrono::milliseconds(timeoutMilliseconds) * (retries + 1);
  }
};

class SnmpSessions {
 public:
  // Beyond `idleMaximum` idle sessions a session given back is closed.
  explicit SnmpSessions(SnmpPeer peer, size_t idleMaximum = SIZE_MAX)
      : peer_(std::move(peer)), idleMaximum_(idleMaximum) {}
  ~SnmpSessions();
  SnmpSessions(const SnmpSessions&) = delete;
  SnmpSessions& operator=(const SnmpSessions&) = delete;

  // A session held by one thread until the lease ends.
  class Lease {
   public:
    Lease(Lease&& other) noexcept
        : sessions_(other.sessions_), handle_(other.handle_), opening_(other.opening_) {
      other.handle_ = nullptr;
    }
    ~Lease();
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Lease& operator=(Lease&&) = delete;

    void* Handle() const { return handle_; }
    // How long opening the session took (SNMPv3 discovers the agent's
    // engine then); zero for an idle one.
    std::chrono::steady_clock::duration Opening() const { return opening_; }

   private:
    friend class SnmpSessions;
    Lease(SnmpSessions& sessions, void* handle, std::chrono::steady_clock::duration opening)
        : sessions_(sessions), handle_(handle), opening_(opening) {}

    SnmpSessions& sessions_;
    void* handle_;
    std::chrono::steady_clock::duration opening_;
  };

  // Throws std::runtime_error when no session can be opened.
  Lease Borrow();
  const SnmpPeer& Peer() const { return peer_; }

 private:
  void* Open();
  void MakeKeys();
  void GiveBack(void* handle);

  const SnmpPeer peer_;
  const size_t idleMaximum_;
  std::mutex mutex_;
  std::vector<void*> idle_;
  // The agent's engine id once a session has discovered it, so that later
  // sessions skip the discovery. Guarded by the library's lock.
  std::string engineId_;
  // The v3 user's keys from its pass phrases, made by the first session.
  // Guarded by the library's lock.
  std::string authKey_;
  std::string privKey_;
};

}  // namespace t740::host

#endif
