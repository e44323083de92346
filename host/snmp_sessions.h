// SNMPv2c sessions to one agent in one community. net-snmp's single-
// session calls are safe as long as each session is used by one thread at
// a time, so every exchange borrows a session of its own: an idle one, or
// one opened for it (under the library's lock). The poll worker and the
// user-interface thread thus never share a session.
#ifndef T740_HOST_SNMP_SESSIONS_H
#define T740_HOST_SNMP_SESSIONS_H

#include <mutex>
#include <string>
#include <vector>

namespace t740::host {

struct SnmpPeer {
  std::string name;  // net-snmp's form, e.g. "udp:127.0.0.1:1161"
  std::string community;
  int timeoutMilliseconds;
  int retries;
};

class SnmpSessions {
 public:
  explicit SnmpSessions(SnmpPeer peer) : peer_(std::move(peer)) {}
  ~SnmpSessions();
  SnmpSessions(const SnmpSessions&) = delete;
  SnmpSessions& operator=(const SnmpSessions&) = delete;

  // A session held by one thread until the lease ends.
  class Lease {
   public:
    Lease(Lease&& other) noexcept : sessions_(other.sessions_), handle_(other.handle_) {
      other.handle_ = nullptr;
    }
    ~Lease();
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Lease& operator=(Lease&&) = delete;

    void* Handle() const { return handle_; }

   private:
    friend class SnmpSessions;
    Lease(SnmpSessions& sessions, void* handle) : sessions_(sessions), handle_(handle) {}

    SnmpSessions& sessions_;
    void* handle_;
  };

  // Throws std::runtime_error when no session can be opened.
  Lease Borrow();
  const SnmpPeer& Peer() const { return peer_; }

 private:
  void* Open();
  void GiveBack(void* handle);

  const SnmpPeer peer_;
  std::mutex mutex_;
  std::vector<void*> idle_;
};

}  // namespace t740::host

#endif
