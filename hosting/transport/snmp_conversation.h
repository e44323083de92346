// One request over a leased session until its answer, a report, or its last
// try's time-out, with the library's calls made on a line: SNMPv3 requests
// take turns in the process (SnmpV3Mutex), their user's keys installed
// before each call that builds or reads a message, and let the line go
// while the agent is waited for, so that exchanges with many agents overlap
// their round trips. SNMPv2c requests need no line.
#ifndef T740_HOSTING_TRANSPORT_SNMP_CONVERSATION_H
#define T740_HOSTING_TRANSPORT_SNMP_CONVERSATION_H

#include <chrono>
#include <mutex>
#include <string>

#include "hosting/transport/snmp_sessions.h"

struct snmp_pdu;

namespace t740::host {

class SnmpLine {
 public:
  explicit SnmpLine(SnmpSessions& sessions);
  // False when others held it longer than `bound`.
  bool Take(std::chrono::milliseconds bound);
  void Leave();
  void Enter();
  // Before each library call for the session.
  void Prepare() { sessions_.InstallKeys(); }

 private:
  SnmpSessions& sessions_;
  const bool v3_;
  std::unique_lock<std::timed_mutex> lock_;
};

// What the tries of one exchange come to, request after request.
struct SnmpTryCount {
  int left;      // tries not yet used up waiting
  int sent = 0;  // messages sent
};

struct SnmpConversation {
  int status;                // STAT_SUCCESS, STAT_TIMEOUT or STAT_ERROR
  snmp_pdu* answer;          // a response's copy, the caller's to free; or none
  int report;                // a report's type (SNMPERR_...), 0 when none came
  std::string reportEngine;  // the engine id the report came from
};

// Sends `request` (the library frees it, whatever becomes of it) with
// `tryCount` of the tries left, each waiting `timeoutMilliseconds`; `line`
// held on entry and on return.
SnmpConversation Converse(void* handle, snmp_pdu* request, int timeoutMilliseconds, int tryCount,
                          SnmpTryCount& tries, SnmpLine& line);

}  // namespace t740::host

#endif
