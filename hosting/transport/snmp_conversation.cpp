#include "hosting/transport/snmp_conversation.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/library/large_fd_set.h>
#include <net-snmp/net-snmp-includes.h>

#include <cerrno>

#include "hosting/transport/snmp_library.h"

namespace t740::host {
namespace {

constexpr long kMicrosecondsPerMillisecond = 1000;

// What the request's callback leaves for the conversation waiting on it.
struct Waiting {
  bool waiting = true;
  int status = STAT_ERROR;
  netsnmp_pdu* answer = nullptr;
  int report = 0;
  std::string reportEngine;
  bool expiring = false;  // the library is resending the tries that timed out
  int resends = 0;
  int expired = 0;
  bool windowResent = false;
};

void TakeReport(Waiting& state, netsnmp_session* session, const netsnmp_pdu& pdu) {
  state.report = snmpv3_get_report_type(const_cast<netsnmp_pdu*>(&pdu));
  session->s_snmp_errno = state.report;
  state.reportEngine.assign(reinterpret_cast<const char*>(pdu.securityEngineID),
                            pdu.securityEngineIDLen);
  // The library sends the request again after a report that it fell outside
  // the agent's time window, counting that as a retry; the first such
  // resend, which learns the agent's time, costs no try of the exchange's.
  state.waiting = state.report == SNMPERR_NOT_IN_TIME_WINDOW;
  if (state.waiting && !state.windowResent) {
    state.windowResent = true;
    ++session->retries;
  }
}

// Takes the answer as the library's own synchronous exchange does, and
// counts the messages sent and the tries that timed out.
int Received(int operation, netsnmp_session* session, int, netsnmp_pdu* pdu, void* magic) {
  Waiting& state = *static_cast<Waiting*>(magic);
  if (operation == NETSNMP_CALLBACK_OP_RESEND) {
    ++state.resends;
    state.expired += state.expiring;
    return 1;
  }
  state.waiting = false;
  if (operation == NETSNMP_CALLBACK_OP_TIMED_OUT) {
    ++state.expired;
    state.status = STAT_TIMEOUT;
    session->s_snmp_errno = SNMPERR_TIMEOUT;
  } else if (operation == NETSNMP_CALLBACK_OP_DISCONNECT) {
    session->s_snmp_errno = SNMPERR_ABORT;
  } else if (operation != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE) {
    state.waiting = true;  // a message it dropped: the request is still out
  } else if (pdu->command == SNMP_MSG_REPORT) {
    TakeReport(state, session, *pdu);
  } else if (pdu->command == SNMP_MSG_RESPONSE) {
    state.answer = snmp_clone_pdu(pdu);
    state.status = STAT_SUCCESS;
  } else {
    session->s_snmp_errno = SNMPERR_PROTOCOL;
  }
  return 1;
}

void SetTries(void* handle, int timeoutMilliseconds, int tries) {
  netsnmp_session* session = snmp_sess_session(handle);
  session->timeout = timeoutMilliseconds * kMicrosecondsPerMillisecond;
  session->retries = tries - 1;
}

// Waits for the session's socket or its next try's time-out, the line let
// go; then the library reads the answer or resends.
void WaitOnce(void* handle, Waiting& state, netsnmp_large_fd_set& readable, int descriptors,
              timeval timeout, SnmpLine& line) {
  line.Leave();
  const int ready = netsnmp_large_fd_set_select(descriptors, &readable, nullptr, nullptr, &timeout);
  line.Enter();
  line.Prepare();
  if (ready > 0) {
    snmp_sess_read2(handle, &readable);
  } else if (ready == 0 || errno != EINTR) {
    state.expiring = true;
    snmp_sess_timeout(handle);
    state.expiring = false;
  }
}

}  // namespace

SnmpLine::SnmpLine(SnmpSessions& sessions)
    : sessions_(sessions),
      v3_(sessions.Peer().user.has_value()),
      lock_(SnmpV3Mutex(), std::defer_lock) {}

bool SnmpLine::Take(std::chrono::milliseconds bound) {
  return !v3_ || lock_.try_lock_for(bound);
}

void SnmpLine::Leave() {
  if (v3_) lock_.unlock();
}

void SnmpLine::Enter() {
  if (v3_) lock_.lock();
}

SnmpConversation Converse(void* handle, netsnmp_pdu* request, int timeoutMilliseconds, int tryCount,
                          SnmpTryCount& tries, SnmpLine& line) {
  SetTries(handle, timeoutMilliseconds, tryCount);
  Waiting state;
  line.Prepare();
  if (snmp_sess_async_send(handle, request, Received, &state) == 0) {
    snmp_free_pdu(request);
    return {STAT_ERROR, nullptr, 0, ""};
  }
  netsnmp_large_fd_set readable;
  netsnmp_large_fd_set_init(&readable, FD_SETSIZE);
  while (state.waiting) {
    int descriptors = 0;
    int block = 1;  // in: no time-out of the caller's; out: 0 while a request is out
    timeval timeout{};
    NETSNMP_LARGE_FD_ZERO(&readable);
    snmp_sess_select_info2_flags(handle, &descriptors, &readable, &timeout, &block,
                                 NETSNMP_SELECT_NOALARMS);
    if (block) break;  // nothing outstanding that a callback will end
    WaitOnce(handle, state, readable, descriptors, timeout, line);
  }
  netsnmp_large_fd_set_cleanup(&readable);
  tries.sent += 1 + state.resends;
  tries.left -= state.expired;
  return {state.waiting ? STAT_ERROR : state.status, state.answer, state.report,
          state.reportEngine};
}

}  // namespace t740::host
