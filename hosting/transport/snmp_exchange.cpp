#include "hosting/transport/snmp_exchange.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <algorithm>
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
  // agents' engine times, so they go one at a time in the process; the
  // wait for the others counts against the bound.
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
  const int status = snmp_sess_synch_response(lease->Handle(), request, &answer);
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
