// Sends the queued alarm changes to every --notify target from the agent's
// main loop: t740AlarmChange as an SNMPv2c trap with the read community,
// or as an SNMPv3 inform of one of the agent's users. An inform waits for
// its acknowledgement while the loop goes on; the library sends it again
// after each time-out, and one still unacknowledged after its retries is
// dropped, counted and said on the log.
//
// The first inform to a target discovers the target's engine id, which
// holds up the loop until the target answers or the retries run out.
#ifndef T740_SIM_AGENT_NOTIFIER_H
#define T740_SIM_AGENT_NOTIFIER_H

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "sim/agent/notification_queue.h"
#include "sim/agent/notify_target.h"
#include "sim/agent/usm_users.h"

struct snmp_session;

namespace t740::sim {

struct NotifySettings {
  std::vector<NotifyTarget> targets;
  std::string community;             // for traps
  std::optional<UsmUserEntry> user;  // informs as this user
  int timeoutMilliseconds = 1000;
  int retries = 5;
  // A card's management IP to the address of the agent that serves it:
  // its notifications leave from there, so that a receiver can tell which
  // agent sent them. A card not listed sends from any address.
  std::map<std::string, std::string> agentOf;
};

class Notifier {
 public:
  // Opens a session to every target from every agent's address and drains `queue` whenever it wakes
  // the agent's loop. Call once the agent has started net-snmp; throws
  // std::runtime_error when a session cannot be opened.
  Notifier(const NotifySettings& settings, NotificationQueue& queue, std::ostream& log);
  ~Notifier();
  Notifier(const Notifier&) = delete;
  Notifier& operator=(const Notifier&) = delete;

  // Sends every queued change to every target.
  void SendWaiting();
  // An inform of `target` ended unacknowledged (or refused, or unsent).
  void Dropped(const NotifyTarget& target, const char* why);

 private:
  struct Target {
    std::pair<Notifier*, NotifyTarget> whom;  // what an inform's answer reaches
    snmp_session* session;
  };

  // Sessions to every target from `source` ("": any address).
  void OpenFrom(const std::string& source);
  void CloseAll();
  // The sessions from the agent of the card at `cardIp`.
  std::vector<Target>& TargetsFrom(const std::string& cardIp);
  void Send(Target& target, const AlarmChange& change);

  const NotifySettings settings_;
  NotificationQueue& queue_;
  std::ostream& log_;
  // By the address they send from; each vector is made whole at once, so
  // that the informs' callbacks keep their targets.
  std::map<std::string, std::vector<Target>> targets_;
  uint64_t dropped_ = 0;
};

}  // namespace t740::sim

#endif
