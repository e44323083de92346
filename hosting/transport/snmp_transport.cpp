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
  return {"udp:" + AgentText(snmp), community, user};
}

std::string DescriptionOf(const std::string& agent, const std::optional<UsmUser>& user) {
  if (!user) return "SNMPv2c agent at " + agent;
  return "SNMPv3 agent at " + agent + ", user " + user->name + ", " +
         SecurityLevelName(user->level);
}

}  // namespace

SnmpTransport::SnmpTransport(const HostOptions& options, std::ostream& trace)
    : agent_(AgentText(options.snmp)),
      user_(UserOf(options.snmp)),
      tries_{options.snmp.timeoutMilliseconds, options.snmp.retries},
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
  const SnmpAnswer outcome = SnmpGet(readSessions_, {arcs.arcs}, tries_);
  if (!outcome.ok) {
    Trace("read", oid, outcome.why);
    return 0;
  }
  *response = CText(HexOfOctets(outcome.octets.front()));
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
  const SnmpAnswer outcome = SnmpSet(writeSessions_, arcs.arcs, *octets, tries_);
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
  const SnmpAnswer outcome = SnmpGet(readSessions_, {arcs.arcs}, tries_);
  if (!outcome.ok) {
    Trace("status read", oid, outcome.why);
    return "";
  }
  return outcome.octets.front();
}

void SnmpTransport::Trace(const std::string& what, std::string_view oid, const std::string& why) {
  if (!tracing_) return;
  std::lock_guard<std::mutex> lock(traceMutex_);
  trace_ << "t740-host: snmp " << what << " of " << oid << " failed: " << why << "\n";
}

}  // namespace t740::host
