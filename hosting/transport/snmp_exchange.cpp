#include "hosting/transport/snmp_exchange.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <optional>

#include "hosting/transport/snmp_conversation.h"
#include "hosting/transport/snmp_library.h"

namespace t740::host {
namespace {

// The requests an exchange may make: the one asked for, after the engine's
// discovery, and once more after a rediscovery.
constexpr int kRounds = 2;

// net-snmp's own texts for what went wrong in a session.
std::string SessionError(void* handle) {
  char* text = nullptr;
  snmp_sess_error(handle, nullptr, nullptr, &text);
  std::string error = text ? text : "unknown error";
  free(text);
  return error;
}

std::string Within(SnmpTries tries) {
  return " within " + std::to_string(tries.timeoutMilliseconds) + " ms, " +
         std::to_string(tries.retries) + (tries.retries == 1 ? " retry" : " retries");
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

std::vector<std::string> OctetsOf(const netsnmp_pdu& answer) {
  std::vector<std::string> values;
  for (const netsnmp_variable_list* variable = answer.variables; variable;
       variable = variable->next_variable) {
    values.emplace_back(reinterpret_cast<const char*>(variable->val.string), variable->val_len);
  }
  return values;
}

void SetEngine(netsnmp_pdu& request, const std::string& engineId) {
  if (engineId.empty()) return;
  request.securityEngineID = static_cast<u_char*>(netsnmp_memdup(engineId.data(), engineId.size()));
  request.securityEngineIDLen = request.securityEngineID ? engineId.size() : 0;
  request.contextEngineID = static_cast<u_char*>(netsnmp_memdup(engineId.data(), engineId.size()));
  request.contextEngineIDLen = request.contextEngineID ? engineId.size() : 0;
}

// The request, made under the library's lock: request ids come from its
// unguarded counters. With `octets` a SET of the one name, else a GET; to
// the engine named, not the one the session may have learnt before.
netsnmp_pdu* RequestOf(const std::vector<std::vector<uint32_t>>& names, const std::string* octets,
                       const std::string& engineId) {
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
  SetEngine(*request, engineId);
  return request;
}

// The engine discovery's request (RFC 3414, 4): unauthenticated, of no
// user and no object, answered by a report from the agent's engine.
netsnmp_pdu* DiscoveryRequest() {
  std::lock_guard<std::mutex> library(SnmpLibraryMutex());
  netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GET);
  request->version = SNMP_VERSION_3;
  request->securityName = strdup("");
  request->securityNameLen = 0;
  request->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
  request->securityModel = SNMP_SEC_MODEL_USM;
  return request;
}

class Exchange {
 public:
  Exchange(SnmpSessions& sessions, SnmpTries tries) : sessions_(sessions), tries_(tries) {}

  SnmpAnswer Run(const std::vector<std::vector<uint32_t>>& names, const std::string* octets);

 private:
  SnmpAnswer Refused(const std::string& why);
  SnmpAnswer TimedOut(const std::string& why);
  bool Discover();
  SnmpAnswer Ask(const std::vector<std::vector<uint32_t>>& names, const std::string* octets);
  SnmpAnswer Answered(const SnmpConversation& conversation, int command, size_t asked);

  SnmpSessions& sessions_;
  const SnmpTries tries_;
  std::optional<SnmpSessions::Lease> lease_;
  std::optional<SnmpLine> line_;
  SnmpTryCount count_{tries_.retries + 1};
};

SnmpAnswer Exchange::Refused(const std::string& why) {
  SnmpAnswer outcome;
  outcome.why = why;
  outcome.requests = count_.sent;
  return outcome;
}

SnmpAnswer Exchange::TimedOut(const std::string& why) {
  SnmpAnswer outcome = Refused(why);
  outcome.timedOut = true;
  // A socket kept for an agent that does not answer is held for nothing.
  if (lease_) lease_->Discard();
  return outcome;
}

// False when the agent's engine stays unknown.
bool Exchange::Discover() {
  const SnmpConversation discovery =
      Converse(lease_->Handle(), DiscoveryRequest(), tries_.timeoutMilliseconds, count_.left,
               count_, *line_);
  if (discovery.answer) snmp_free_pdu(discovery.answer);
  if (!discovery.reportEngine.empty()) sessions_.LearnEngine(discovery.reportEngine);
  return !sessions_.EngineId().empty();
}

SnmpAnswer Exchange::Answered(const SnmpConversation& conversation, int command, size_t asked) {
  const SnmpPeer& peer = sessions_.Peer();
  if (conversation.status == STAT_TIMEOUT) {
    return TimedOut("no answer from " + peer.name + Within(tries_));
  }
  if (conversation.status != STAT_SUCCESS || !conversation.answer) {
    return Refused(SessionError(lease_->Handle()));
  }
  SnmpAnswer outcome = Refused(Judge(*conversation.answer, command, asked));
  outcome.ok = outcome.why.empty();
  if (outcome.ok) outcome.octets = OctetsOf(*conversation.answer);
  return outcome;
}

SnmpAnswer Exchange::Ask(const std::vector<std::vector<uint32_t>>& names,
                         const std::string* octets) {
  const SnmpPeer& peer = sessions_.Peer();
  for (int round = 0; round < kRounds; ++round) {
    // An engine learnt by an earlier exchange may be gone with its card;
    // the agent then drops the request, so one try unanswered has the
    // engine discovered again before the tries left.
    const bool engineFromBefore = peer.user && round == 0 && !sessions_.EngineId().empty();
    if (peer.user && sessions_.EngineId().empty() && !Discover()) {
      if (count_.left <= 0) {
        return TimedOut("no answer from " + peer.name + " to the engine discovery" +
                        Within(tries_));
      }
      return Refused("cannot discover the agent's engine: " + SessionError(lease_->Handle()));
    }
    if (count_.left <= 0) {
      return TimedOut("the engine discovery at " + peer.name + " took every try" + Within(tries_));
    }
    const SnmpConversation conversation =
        Converse(lease_->Handle(), RequestOf(names, octets, sessions_.EngineId()),
                 tries_.timeoutMilliseconds, engineFromBefore ? 1 : count_.left, count_, *line_);
    // A report that the agent does not know the engine asked for names its
    // engine now.
    const bool engineGone = conversation.report == SNMPERR_UNKNOWN_ENG_ID ||
                            (engineFromBefore && conversation.status == STAT_TIMEOUT);
    if (peer.user && engineGone && round + 1 < kRounds && count_.left > 0) {
      if (conversation.answer) snmp_free_pdu(conversation.answer);
      sessions_.LearnEngine(conversation.reportEngine);
      continue;
    }
    const SnmpAnswer outcome =
        Answered(conversation, octets ? SNMP_MSG_SET : SNMP_MSG_GET, names.size());
    if (conversation.answer) snmp_free_pdu(conversation.answer);
    return outcome;
  }
  return Refused("the agent's engine changed twice in one exchange");
}

SnmpAnswer Exchange::Run(const std::vector<std::vector<uint32_t>>& names,
                         const std::string* octets) {
  try {
    lease_.emplace(sessions_.Borrow());
  } catch (const std::exception& error) {
    return Refused(error.what());
  }
  line_.emplace(sessions_);
  // SNMPv3 exchanges take turns in the library; the wait for the others
  // is bounded as the exchange is.
  if (!line_->Take(tries_.Bound())) {
    SnmpAnswer outcome = Refused("other SNMPv3 exchanges held the line for " +
                                 std::to_string(tries_.Bound().count()) + " ms");
    outcome.timedOut = true;
    return outcome;
  }
  try {
    return Ask(names, octets);
  } catch (const std::exception& error) {
    return Refused(error.what());
  }
}

}  // namespace

SnmpAnswer SnmpGet(SnmpSessions& sessions, const std::vector<std::vector<uint32_t>>& names,
                   SnmpTries tries) {
  return Exchange(sessions, tries).Run(names, nullptr);
}

SnmpAnswer SnmpSet(SnmpSessions& sessions, const std::vector<uint32_t>& name,
                   const std::string& octets, SnmpTries tries) {
  return Exchange(sessions, tries).Run({name}, &octets);
}

}  // namespace t740::host
