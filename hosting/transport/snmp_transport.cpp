#include "hosting/transport/snmp_transport.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <algorithm>
#include <chrono>
#include <optional>

#include "hosting/errors/host_error.h"
#include "hosting/text/hex_octets.h"
#include "hosting/text/oid_text.h"
#include "hosting/transport/sim_status_kind.h"
#include "hosting/transport/snmp_library.h"
#include "hosting/transport/snmp_v3_options.h"
#include "protocol/card_mib.h"

namespace t740::host {
namespace {

enum RequestOperation { kRead = 0, kWrite = 1 };
constexpr char kWriteAccepted[] = "1";

std::string AgentText(const SnmpOptions& snmp) {
  if (snmp.host.empty())
    throw UsageError("--transport snmp needs the agent: --snmp ADDRESS[:PORT]");
  return snmp.host + ":" + std::to_string(snmp.port);
}

std::optional<UsmUser> UserOf(const SnmpOptions& snmp) {
  CheckSnmpVersionOptions(snmp);
  if (snmp.version != SnmpVersion::V3) return std::nullopt;
  return ResolveUsmUser(snmp.v3, ProcessEnvironment());
}

SnmpPeer PeerOf(const SnmpOptions& snmp, const std::string& community,
                const std::optional<UsmUser>& user) {
  return {"udp:" + AgentText(snmp), community, snmp.timeoutMilliseconds, snmp.retries, user};
}

std::string DescriptionOf(const std::string& agent, const std::optional<UsmUser>& user) {
  if (!user) return "SNMPv2c agent at " + agent;
  return "SNMPv3 agent at " + agent + ", user " + user->name + ", " +
         SecurityLevelName(user->level);
}

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

std::string Judge(const netsnmp_pdu& answer, int command) {
  if (answer.errstat != SNMP_ERR_NOERROR) {
    return std::string("the agent answered ") + snmp_errstring(static_cast<int>(answer.errstat));
  }
  const netsnmp_variable_list* variable = answer.variables;
  if (!variable) return "the agent answered without a value";
  if (const char* exception = ExceptionText(variable->type)) {
    return std::string("the agent answered ") + exception;
  }
  if (command == SNMP_MSG_GET && variable->type != ASN_OCTET_STR) {
    return "the agent answered a value that is no OCTET STRING (type " +
           std::to_string(variable->type) + ")";
  }
  return "";
}

}  // namespace

SnmpTransport::SnmpTransport(const HostOptions& options, std::ostream& trace)
    : agent_(AgentText(options.snmp)),
      user_(UserOf(options.snmp)),
      tracing_(options.trace),
      trace_(trace),
      readSessions_(PeerOf(options.snmp, options.snmp.readCommunity, user_)),
      writeSessions_(PeerOf(options.snmp, options.snmp.writeCommunity, user_)) {
  StartSnmpLibrary();
}

std::string SnmpTransport::Description() const {
  return DescriptionOf(agent_, user_);
}

int SnmpTransport::Request(int operation, const CText&, const CText& oid, const CText&,
                           const CText& value, CText* response) {
  if (!response) return 0;
  if (operation == kRead) return Read(oid.view(), response);
  if (operation == kWrite) return Write(oid.view(), value.view(), response);
  Trace("request", oid.view(), "unknown operation " + std::to_string(operation));
  return 0;
}

int SnmpTransport::Read(std::string_view oid, CText* response) {
  *response = CText();
  const OidArcs arcs = ParseOidText(oid);
  if (!arcs) {
    Trace("read", oid, "not an identifier: " + arcs.error);
    return 0;
  }
  const Outcome outcome = Exchange(readSessions_, SNMP_MSG_GET, arcs.arcs, nullptr);
  if (!outcome.ok) {
    Trace("read", oid, outcome.why);
    return 0;
  }
  *response = CText(HexOfOctets(outcome.octets));
  return 1;
}

int SnmpTransport::Write(std::string_view oid, std::string_view value, CText* response) {
  const OidArcs arcs = ParseOidText(oid);
  if (!arcs) {
    Trace("write", oid, "not an identifier: " + arcs.error);
    return 0;
  }
  const auto octets = OctetsOfHex(value);
  if (!octets) {
    Trace("write", oid,
          "the value is not hex octets (" + std::to_string(value.size()) + " characters)");
    return 0;
  }
  const Outcome outcome = Exchange(writeSessions_, SNMP_MSG_SET, arcs.arcs, &*octets);
  if (!outcome.ok) {
    Trace("write", oid, outcome.why);
    return 0;
  }
  *response = CText(kWriteAccepted);
  return 1;
}

std::string SnmpTransport::FetchStatus(StatusText text, std::string_view,
                                       std::string_view cardAddress) {
  const std::string oid = protocol::StatusOidText(cardAddress, SimStatusKind(text));
  const OidArcs arcs = ParseOidText(oid);
  if (!arcs) {
    Trace("status read", oid, "not an identifier: " + arcs.error);
    return "";
  }
  const Outcome outcome = Exchange(readSessions_, SNMP_MSG_GET, arcs.arcs, nullptr);
  if (!outcome.ok) {
    Trace("status read", oid, outcome.why);
    return "";
  }
  return outcome.octets;
}

SnmpTransport::Outcome SnmpTransport::Exchange(SnmpSessions& sessions, int command,
                                               const std::vector<uint32_t>& arcs,
                                               const std::string* octets) {
  const std::vector<oid> name(arcs.begin(), arcs.end());
  netsnmp_pdu* request = nullptr;
  {
    // Request ids come from the library's unguarded counters.
    std::lock_guard<std::mutex> library(SnmpLibraryMutex());
    request = snmp_pdu_create(command);
    if (octets) {
      snmp_pdu_add_variable(request, name.data(), name.size(), ASN_OCTET_STR, octets->data(),
                            octets->size());
    } else {
      snmp_add_null_var(request, name.data(), name.size());
    }
  }
  Outcome outcome;
  std::optional<SnmpSessions::Lease> lease;
  try {
    lease.emplace(sessions.Borrow());
  } catch (const std::exception& error) {
    snmp_free_pdu(request);
    outcome.why = error.what();
    return outcome;
  }
  if (!FitTriesToBound(lease->Handle(), sessions.Peer(), lease->Opening())) {
    snmp_free_pdu(request);
    outcome.why = "no time left within " + std::to_string(Milliseconds(sessions.Peer().Bound())) +
                  " ms after discovering the agent's engine";
    return outcome;
  }
  netsnmp_pdu* answer = nullptr;
  // SNMPv3 exchanges also update the library's unguarded cache of the
  // agent's engine time, so they go one at a time.
  std::unique_lock<std::mutex> v3(v3Mutex_, std::defer_lock);
  if (user_) v3.lock();
  // The library frees the request, whatever becomes of it.
  const int status = snmp_sess_synch_response(lease->Handle(), request, &answer);
  if (status == STAT_TIMEOUT) {
    outcome.why = NoAnswer(sessions.Peer());
  } else if (status != STAT_SUCCESS || !answer) {
    outcome.why = SessionError(lease->Handle());
  } else {
    outcome.why = Judge(*answer, command);
    outcome.ok = outcome.why.empty();
    if (outcome.ok) {
      const netsnmp_variable_list* variable = answer->variables;
      if (variable->val_len > 0) {
        outcome.octets.assign(reinterpret_cast<const char*>(variable->val.string),
                              variable->val_len);
      }
    }
  }
  if (answer) snmp_free_pdu(answer);
  return outcome;
}

void SnmpTransport::Trace(const std::string& what, std::string_view oid, const std::string& why) {
  if (!tracing_) return;
  std::lock_guard<std::mutex> lock(traceMutex_);
  trace_ << "t740-host: snmp " << what << " of " << oid << " failed: " << why << "\n";
}

}  // namespace t740::host
