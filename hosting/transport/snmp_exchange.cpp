#include "hosting/transport/snmp_exchange.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/library/large_fd_set.h>
#include <net-snmp/net-snmp-includes.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>

#include "hosting/transport/snmp_library.h"

namespace t740::host {
namespace {

long Milliseconds(std::chrono::steady_clock::duration duration) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(duration).count());
}

// What is left of the request's bound after the session's opening goes to
// its tries: whole tries of the usual time-out while they fit, else one
// shorter try. False when nothing is left.
bool FitTriesToBound(void* handle, const SnmpPeer& peer,
                     std::chrono::steady_clock::duration opening) {
  netsnmp_session* session = snmp_sess_session(handle);
  const long left = Milliseconds(peer.Bound() - opening);
  const long timeout = peer.timeoutMilliseconds;
  if (left <= 0) return false;
  if (left >= timeout) {
    session->timeout = timeout * 1000;
    session->retries = static_cast<int>(std::min<long>(peer.retries, left / timeout - 1));
  } else {
    session->timeout = left * 1000;
    session->retries = 0;
  }
  return true;
}

// net-snmp's own texts for what went wrong in a session.
std::string SessionError(void* handle) {
  char* text = nullptr;
  snmp_sess_error(handle, nullptr, nullptr, &text);
  std::string error = text ? text : "unknown error";
  free(text);
  return error;
}

std::string NoAnswer(const SnmpPeer& peer) {
  return "no answer from " + peer.name + " within " + std::to_string(peer.timeoutMilliseconds) +
         " ms, " + std::to_string(peer.retries) + (peer.retries == 1 ? " retry" : " retries");
}

struct Exception {
  int type;
  const char* text;
};

constexpr Exception kExceptions[] = {
    {SNMP_NOSUCHOBJECT, "no such object"},
    {SNMP_NOSUCHINSTANCE, "no such instance"},
    {SNMP_ENDOFMIBVIEW, "end of the agent's MIB view"},
};

const char* ExceptionText(int type) {
  for (const Exception& exception : kExceptions) {
    if (exception.type == type) return exception.text;
  }
  return nullptr;
}

// Why the answer is no good for the request of `asked` objects; empty when
// it is.
std::string Judge(const netsnmp_pdu& answer, int command, size_t asked) {
  if (answer.errstat != SNMP_ERR_NOERROR) {
    return std::string("the agent answered ") + snmp_errstring(static_cast<int>(answer.errstat));
  }
  size_t count = 0;
  for (const netsnmp_variable_list* variable = answer.variables; variable;
       variable = variable->next_variable, ++count) {
    if (const char* exception = ExceptionText(variable->type)) {
      return std::string("the agent answered ") + exception;
    }
    if (command == SNMP_MSG_GET && variable->type != ASN_OCTET_STR) {
      return "the agent answered a value that is no OCTET STRING (type " +
             std::to_string(variable->type) + ")";
    }
  }
  if (count == 0) return "the agent answered without a value";
  if (count != asked) {
    return "the agent answered " + std::to_string(count) + " values for " + std::to_string(asked) +
           " objects";
  }
  return "";
}

// The request, made under the library's lock: request ids come from its
// unguarded counters. With `octets` a SET of the one name, else a GET.
netsnmp_pdu* RequestOf(const std::vector<std::vector<uint32_t>>& names, const std::string* octets) {
  std::lock_guard<std::mutex> library(SnmpLibraryMutex());
  netsnmp_pdu* request = snmp_pdu_create(octets ? SNMP_MSG_SET : SNMP_MSG_GET);
  for (const std::vector<uint32_t>& arcs : names) {
    const std::vector<oid> name(arcs.begin(), arcs.end());
    if (octets) {
      snmp_pdu_add_variable(request, name.data(), name.size(), ASN_OCTET_STR, octets->data(),
                            octets->size());
    } else {
      snmp_add_null_var(request, name.data(), name.size());
    }
  }
  return request;
}

std::vector<std::string> OctetsOf(const netsnmp_pdu& answer) {
  std::vector<std::string> values;
  for (const netsnmp_variable_list* variable = answer.variables; variable;
       variable = variable->next_variable) {
    values.emplace_back(reinterpret_cast<const char*>(variable->val.string), variable->val_len);
  }
  return values;
}

// What the answer's callback leaves for the exchange waiting on it.
struct Waiting {
  bool waiting = true;
  int status = STAT_ERROR;
  netsnmp_pdu* answer = nullptr;
};

// Takes the answer as the library's own synchronous exchange does: a report
// that the request fell outside the agent's time window has the library
// send it again, and the wait goes on, as it does past a resend or a
// message the library dropped.
int Received(int operation, netsnmp_session* session, int, netsnmp_pdu* pdu, void* magic) {
  Waiting& state = *static_cast<Waiting*>(magic);
  state.waiting = false;
  if (operation == NETSNMP_CALLBACK_OP_TIMED_OUT) {
    state.status = STAT_TIMEOUT;
    session->s_snmp_errno = SNMPERR_TIMEOUT;
  } else if (operation == NETSNMP_CALLBACK_OP_DISCONNECT) {
    session->s_snmp_errno = SNMPERR_ABORT;
  } else if (operation != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE) {
    state.waiting = true;  // a resend or a message it dropped: the request is still out
  } else if (pdu->command == SNMP_MSG_REPORT) {
    session->s_snmp_errno = snmpv3_get_report_type(pdu);
    state.waiting = session->s_snmp_errno == SNMPERR_NOT_IN_TIME_WINDOW;
  } else if (pdu->command == SNMP_MSG_RESPONSE) {
    state.answer = snmp_clone_pdu(pdu);
    state.status = STAT_SUCCESS;
  } else {
    session->s_snmp_errno = SNMPERR_PROTOCOL;
  }
  return 1;
}

// The library's synchronous exchange, with `line` (held on entry) held
// only while the library works on it (sending, reading, resending) and let
// go while the agent is waited for, so that SNMPv3 exchanges to many
// agents overlap their round trips. The wait ends with the callback: an
// answer, a report, or the last try's time-out.
int ExchangeOnTheLine(void* handle, netsnmp_pdu* request, netsnmp_pdu** answer,
                      std::unique_lock<std::timed_mutex>& line) {
  Waiting state;
  if (snmp_sess_async_send(handle, request, Received, &state) == 0) {
    snmp_free_pdu(request);
    return STAT_ERROR;
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
    line.unlock();
    const int ready =
        netsnmp_large_fd_set_select(descriptors, &readable, nullptr, nullptr, &timeout);
    line.lock();
    if (ready > 0) {
      snmp_sess_read2(handle, &readable);
    } else if (ready == 0 || errno != EINTR) {
      snmp_sess_timeout(handle);
    }
  }
  netsnmp_large_fd_set_cleanup(&readable);
  *answer = state.answer;
  return state.waiting ? STAT_ERROR : state.status;
}

SnmpAnswer Exchange(SnmpSessions& sessions, const std::vector<std::vector<uint32_t>>& names,
                    const std::string* octets) {
  const int command = octets ? SNMP_MSG_SET : SNMP_MSG_GET;
  netsnmp_pdu* request = RequestOf(names, octets);
  SnmpAnswer outcome;
  std::optional<SnmpSessions::Lease> lease;
  try {
    lease.emplace(sessions.Borrow());
  } catch (const std::exception& error) {
    snmp_free_pdu(request);
    outcome.why = error.what();
    return outcome;
  }
  const SnmpPeer& peer = sessions.Peer();
  if (!FitTriesToBound(lease->Handle(), peer, lease->Opening())) {
    snmp_free_pdu(request);
    outcome.timedOut = true;
    outcome.why = "no time left within " + std::to_string(Milliseconds(peer.Bound())) +
                  " ms after discovering the agent's engine";
    return outcome;
  }
  // SNMPv3 exchanges also update the library's unguarded cache of the
  // agents' engine times, so the library's work on them goes one at a time
  // in the process; the wait for the others counts against the bound.
  std::unique_lock<std::timed_mutex> v3(SnmpV3Mutex(), std::defer_lock);
  if (peer.user && !v3.try_lock_for(peer.Bound() - lease->Opening())) {
    snmp_free_pdu(request);
    outcome.timedOut = true;
    outcome.why = "other SNMPv3 exchanges held the line for " +
                  std::to_string(Milliseconds(peer.Bound())) + " ms";
    return outcome;
  }
  netsnmp_pdu* answer = nullptr;
  // The library frees the request, whatever becomes of it.
  const int status = peer.user ? ExchangeOnTheLine(lease->Handle(), request, &answer, v3)
                               : snmp_sess_synch_response(lease->Handle(), request, &answer);
  if (status == STAT_TIMEOUT) {
    outcome.timedOut = true;
    outcome.why = NoAnswer(peer);
  } else if (status != STAT_SUCCESS || !answer) {
    outcome.why = SessionError(lease->Handle());
  } else {
    outcome.why = Judge(*answer, command, names.size());
    outcome.ok = outcome.why.empty();
    if (outcome.ok) outcome.octets = OctetsOf(*answer);
  }
  if (answer) snmp_free_pdu(answer);
  return outcome;
}

}  // namespace

SnmpAnswer SnmpGet(SnmpSessions& sessions, const std::vector<std::vector<uint32_t>>& names) {
  return Exchange(sessions, names, nullptr);
}

SnmpAnswer SnmpSet(SnmpSessions& sessions, const std::vector<uint32_t>& name,
                   const std::string& octets) {
  return Exchange(sessions, {name}, &octets);
}

}  // namespace t740::host
