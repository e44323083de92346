// SNMP sessions to one agent, in one SNMPv2c community or as one SNMPv3
// user. net-snmp's single-session calls are safe as long as each session is
// used by one thread at a time, so every exchange borrows a session of its
// own: an idle one, or one opened for it (under the library's lock). The
// poll worker and the user-interface thread thus never share a session.
// Sessions open without asking the agent anything: an SNMPv3 exchange
// discovers the agent's engine itself, within its own tries.
#ifndef T740_HOSTING_TRANSPORT_SNMP_SESSIONS_H
#define T740_HOSTING_TRANSPORT_SNMP_SESSIONS_H

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hosting/transport/snmp_security.h"
#include "hosting/transport/usm_keys.h"

namespace t740::host {

// Who is asked and how one proves oneself to it: what a conversation with
// an agent is.
struct SnmpPeer {
  std::string name;             // net-snmp's form, e.g. "udp:127.0.0.1:1161"
  std::string community;        // SNMPv2c
  std::optional<UsmUser> user;  // SNMPv3 when set
};

// How long one exchange waits: each try's time-out, and the tries after the
// first.
struct SnmpTries {
  int timeoutMilliseconds;
  int retries;

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
        : sessions_(other.sessions_), handle_(other.handle_), keep_(other.keep_) {
      other.handle_ = nullptr;
    }
    ~Lease();
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Lease& operator=(Lease&&) = delete;

    void* Handle() const { return handle_; }
    // Closes the session when the lease ends instead of keeping it idle: a
    // socket kept for an agent that does not answer is held for nothing.
    void Discard() { keep_ = false; }

   private:
    friend class SnmpSessions;
    Lease(SnmpSessions& sessions, void* handle) : sessions_(sessions), handle_(handle) {}

    SnmpSessions& sessions_;
    void* handle_;
    bool keep_ = true;
  };

  // Throws std::runtime_error when no session can be opened.
  Lease Borrow();
  const SnmpPeer& Peer() const { return peer_; }

  // SNMPv3 only, each with SnmpV3Mutex held.
  // The agent's engine id once an exchange has discovered it; empty before.
  const std::string& EngineId() const { return keys_.engineId; }
  // An engine id from the agent, or none when the agent no longer answers
  // at the known one: a change (a card replaced) closes the idle sessions
  // and drops what the library learnt of the old engine.
  void LearnEngine(const std::string& engineId);
  // Installs this user's keys, localised to the known engine, as the
  // library's user at that engine.
  void InstallKeys();

 private:
  void* Open();
  void GiveBack(void* handle, bool keep);
  void CloseIdle();
  void ForgetEngine();

  const SnmpPeer peer_;
  const size_t idleMaximum_;
  std::mutex mutex_;
  std::vector<void*> idle_;
  // Guarded by SnmpV3Mutex.
  std::optional<UsmMasterKeys> masterKeys_;
  UsmLocalKeys keys_;
};

}  // namespace t740::host

#endif
