// net-snmp's server session for notifications on a UDP port: SNMPv2c traps
// and informs of the configured communities, SNMPv3 traps and informs of
// the configured users. It answers a sender's engine discovery, acknowledges
// each accepted inform, and counts every message by outcome.
//
// For informs the receiver is the authoritative engine. Its engine id is
// the process's SNMP engine id: the configured one, else the one net-snmp
// made at its start, random; neither is persisted, and the engine's boots
// start again with each process, so a sender learns both anew through
// discovery or the report that it fell outside the time window. The users'
// keys are localised to that engine id; a v3 trap, signed for its sender's
// engine, finds the user's keys localised to that engine for the length of
// its check only.
#ifndef T740_ALERTER_NOTIFICATIONS_NOTIFICATION_SESSION_H
#define T740_ALERTER_NOTIFICATIONS_NOTIFICATION_SESSION_H

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "alerter/notifications/alarm_cue.h"
#include "alerter/notifications/notification_outcome.h"
#include "hosting/transport/snmp_security.h"
#include "hosting/transport/usm_keys.h"

struct snmp_session;
struct snmp_pdu;

namespace t740::alerter {

struct ReceiverSettings {
  std::string listen = "0.0.0.0:162";  // ADDRESS:PORT, port 0 for a free one
  std::set<std::string> communities;   // v2c; none: no v2c accepted
  std::vector<host::UsmUser> users;    // v3; none: no v3 accepted
  std::string engineId;                // octets, 5 to 32; empty: the library's
};

class NotificationSession {
 public:
  // Starts the SNMP library when it has not started (call from the main
  // thread) and listens. Throws std::invalid_argument for an engine id of
  // the wrong length, std::runtime_error when it cannot listen or make a
  // user's keys.
  NotificationSession(const ReceiverSettings& settings, NotificationCounts& counts);
  ~NotificationSession();
  NotificationSession(const NotificationSession&) = delete;
  NotificationSession& operator=(const NotificationSession&) = delete;

  uint16_t Port() const { return port_; }
  const std::string& EngineId() const { return engineId_; }
  int Descriptor() const { return socket_; }

  // Reads the message waiting on the socket, under the library's locks:
  // the cues it accepted.
  std::vector<AlarmCue> ReadWaiting();

  // The library's hooks.
  int Parse(snmp_session* session, snmp_pdu* pdu, unsigned char* data, size_t length);
  void Received(snmp_session* session, snmp_pdu* pdu);

 private:
  struct User {
    host::UsmUser user;
    host::UsmMasterKeys master;
    host::UsmLocalKeys local;  // to this engine
  };

  const User* UserNamed(const std::string& name) const;
  NotificationOutcome Judge(const snmp_pdu& pdu) const;
  void Acknowledge(snmp_pdu* inform);

  const std::set<std::string> communities_;
  NotificationCounts& counts_;
  std::string engineId_;
  std::vector<User> users_;
  void* handle_ = nullptr;
  int socket_ = -1;
  uint16_t port_ = 0;
  std::vector<AlarmCue> accepted_;
  std::chrono::steady_clock::time_point readAt_;
};

}  // namespace t740::alerter

#endif
