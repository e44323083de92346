#include "sim/agent/master_agent.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <net-snmp/agent/net-snmp-agent-includes.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
extern "C" {
#include <tcpd.h>
}
#include <unistd.h>

#include <stdexcept>

#include "sim/agent/card_handler.h"
#include "sim/hex.h"

namespace t740::sim {
namespace {

constexpr char kApplication[] = "t740-sim";
constexpr char kManagerSource[] = "127.0.0.1";

// The access the card grants, as configuration lines that the library
// takes in place of the files it does not read: the read community reads
// everything, the write community also writes.
void GrantCommunities(const Communities& communities) {
  const std::string lines[] = {
      "rocommunity " + communities.read + " " + kManagerSource,
      "rwcommunity " + communities.write + " " + kManagerSource,
  };
  for (std::string line : lines) netsnmp_config(line.data());
}

// Each user may read and write at its own level and above; a request at a
// lower level is refused by the access check.
void GrantUsers(const std::vector<UsmUserEntry>& users) {
  for (const UsmUserEntry& user : users) {
    std::string line = "rwuser " + user.name + " " + user.level;
    netsnmp_config(line.data());
  }
}

// The users' keys are localised to the engine id, so they are made after
// it is set.
void CreateUsers(const std::vector<UsmUserEntry>& users) {
  for (const UsmUserEntry& user : users) {
    std::string line = user.name;
    if (!user.auth.empty()) line += " " + user.auth + " " + user.authPass;
    if (!user.priv.empty()) line += " " + user.priv + " " + user.privPass;
    usm_parse_create_usmUser("createUser", line.data());
  }
}

// The engine id in RFC 3411's text format: net-snmp's enterprise with the
// top bit set, format 4, the text.
std::string EngineIdHex(const std::string& text) {
  std::string hex = "80001F8804";
  for (char c : text) hex += ByteHex(static_cast<unsigned char>(c));
  return hex;
}

// The card's engine keeps its id across restarts, so that a manager that
// knew it goes on without discovering it again; its boots count goes up.
// The library takes the count of the last run as "engineBoots", adds one,
// and keeps it only when "oldEngineID", the last run's id, is this one.
void SetEngine(const std::string& text, uint32_t boots) {
  const std::string id = "0x" + EngineIdHex(text);
  const std::string lines[] = {
      "exactEngineID " + id,
      "oldEngineID " + id,
      "engineBoots " + std::to_string(boots - 1),
  };
  for (std::string line : lines) netsnmp_config_remember(line.data());
}

uint16_t BoundPort(int socket) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot tell which port the agent listens on");
  }
  return ntohs(address.sin_port);
}

void StopLoop(int descriptor, void* running) {
  char byte;
  while (read(descriptor, &byte, 1) > 0) {
  }
  *static_cast<bool*>(running) = false;
}

}  // namespace

MasterAgent::MasterAgent(CardObjects& objects, const AgentAccess& access, uint16_t port)
    : hostsAllow_(sandbox_.Directory() + "/hosts.allow"),
      hostsDeny_(sandbox_.Directory() + "/hosts.deny") {
  // The library asks TCP wrappers about every request; they are to consult
  // the sandbox's (absent) tables, not the system's.
  hosts_allow_table = hostsAllow_.data();
  hosts_deny_table = hostsDeny_.data();
  netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 0);
  netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_AGENTX_MASTER, 0);
  netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_DISABLE_PERL, 1);
  netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_NO_ROOT_ACCESS, 1);
  netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_DONT_LOG_TCPWRAPPERS_CONNECTS,
                         1);
  // Warnings and errors on stderr; the library's notes stay unsaid.
  netsnmp_register_loghandler(NETSNMP_LOGHANDLER_STDERR, LOG_WARNING);
  init_agent(kApplication);
  RegisterCardHandler(objects);
  if (access.v2c) GrantCommunities(access.communities);
  GrantUsers(access.users);
  SetEngine(access.engineIdText, access.engineBoots);
  init_snmp(kApplication);
  CreateUsers(access.users);

  // The one port, opened here rather than by init_master_agent, which
  // would open the standard port list.
  const std::string address = "udp:127.0.0.1:" + std::to_string(port);
  netsnmp_transport* transport = netsnmp_transport_open_server(kApplication, address.c_str());
  if (!transport) throw std::runtime_error("cannot open " + address);
  port_ = BoundPort(transport->sock);
  if (netsnmp_register_agent_nsap(transport) == 0)
    throw std::runtime_error("cannot serve " + address);
}

MasterAgent::~MasterAgent() {
  snmp_shutdown(kApplication);
  shutdown_master_agent();
  shutdown_agent();
}

std::string MasterAgent::EngineId() const {
  u_char id[SNMP_MAXBUF_SMALL];
  const size_t length = snmpv3_get_engineID(id, sizeof id);
  std::string hex;
  for (size_t i = 0; i < length; ++i) hex += ByteHex(id[i]);
  return hex;
}

unsigned long MasterAgent::EngineBoots() const {
  return snmpv3_local_snmpEngineBoots();
}

void MasterAgent::RunUntilReadable(int stopDescriptor) {
  bool running = true;
  register_readfd(stopDescriptor, StopLoop, &running);
  while (running) agent_check_and_process(1);
  unregister_readfd(stopDescriptor);
}

}  // namespace t740::sim
