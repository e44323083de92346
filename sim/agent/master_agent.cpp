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
// Managers on the loopback network, whichever of its addresses they send from.
constexpr char kManagerSource[] = "127.0.0.0/8";

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

// The users' keys are localised to an engine id, so each user is made for
// every engine id of the network.
void CreateUsers(const std::vector<UsmUserEntry>& users, const std::vector<std::string>& ids) {
  for (const std::string& id : ids) {
    for (const UsmUserEntry& user : users) {
      std::string line = "-e 0x" + id + " " + user.name;
      if (!user.auth.empty()) line += " " + user.auth + " " + user.authPass;
      if (!user.priv.empty()) line += " " + user.priv + " " + user.privPass;
      usm_parse_create_usmUser("createUser", line.data());
    }
  }
}

std::string Octets(const std::string& hex) {
  std::string octets;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    octets += static_cast<char>(ParseByte(std::string_view(hex).substr(i, 2)));
  }
  return octets;
}

// The engine id in RFC 3411's text format: net-snmp's enterprise with the
// top bit set, format 4, the text.
std::string EngineIdHex(const std::string& text) {
  std::string hex = "80001F8804";
  for (char c : text) hex += ByteHex(static_cast<unsigned char>(c));
  return hex;
}

// The first address's engine keeps its id across restarts, so that a
// manager that knew it goes on without discovering it again; its boots
// count goes up. The library takes the count of the last run as
// "engineBoots", adds one, and keeps it only when "oldEngineID", the last
// run's id, is this one.
void SetEngine(const std::string& hex, uint32_t boots) {
  const std::string id = "0x" + hex;
  const std::string lines[] = {
      "exactEngineID " + id,
      "oldEngineID " + id,
      "engineBoots " + std::to_string(boots - 1),
  };
  for (std::string line : lines) netsnmp_config_remember(line.data());
}

// A listening transport with the engine id of its address and the
// library's own receive function, which the agent's wraps.
struct Listener {
  netsnmp_transport* transport;
  std::string engineId;  // octets
  int (*receive)(netsnmp_transport*, void*, int, void**, int*);
};
std::vector<Listener> listeners;
// Whose engine is the local one; the library starts with the first's.
size_t localEngine = 0;

const u_char* Bytes(const std::string& octets) {
  return reinterpret_cast<const u_char*>(octets.data());
}

// The library knows an engine by its time record and takes requests to any
// engine it knows; only the local engine keeps one, so a request that
// names another address's engine is refused as to an unknown engine.
void MakeLocal(size_t index) {
  if (index == localEngine) return;
  const std::string& old = listeners[localEngine].engineId;
  free_enginetime(const_cast<u_char*>(Bytes(old)), old.size());
  const std::string& id = listeners[index].engineId;
  set_exact_engineID(Bytes(id), id.size());
  set_enginetime(Bytes(id), static_cast<u_int>(id.size()), snmpv3_local_snmpEngineBoots(),
                 snmpv3_local_snmpEngineTime(), TRUE);
  localEngine = index;
}

// Makes the address's engine the local one before the library decodes what
// came to it; the request is answered before the next one is read.
int ReceiveAtAddress(netsnmp_transport* transport, void* buffer, int size, void** opaque,
                     int* opaqueLength) {
  for (size_t i = 0; i < listeners.size(); ++i) {
    if (listeners[i].transport != transport) continue;
    const int received = listeners[i].receive(transport, buffer, size, opaque, opaqueLength);
    if (received > 0) MakeLocal(i);
    return received;
  }
  return -1;
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

netsnmp_transport* OpenServer(const std::string& address, uint16_t port) {
  const std::string endpoint = "udp:" + address + ":" + std::to_string(port);
  return netsnmp_transport_open_server(kApplication, endpoint.c_str());
}

// Closes the sockets too, which freeing alone leaves open.
void CloseAll(std::vector<netsnmp_transport*>& transports) {
  for (netsnmp_transport* transport : transports) {
    transport->f_close(transport);
    netsnmp_transport_free(transport);
  }
  transports.clear();
}

// Every address on one port: the given one, or with 0 the first address's
// free port, tried again a few times when another address has it taken.
std::vector<netsnmp_transport*> OpenServers(const std::vector<AgentEndpoint>& endpoints,
                                            uint16_t port) {
  constexpr int kTries = 20;
  std::string refused;
  for (int attempt = 0; attempt < (port == 0 ? kTries : 1); ++attempt) {
    std::vector<netsnmp_transport*> transports;
    uint16_t shared = port;
    for (const AgentEndpoint& endpoint : endpoints) {
      netsnmp_transport* transport = OpenServer(endpoint.address, shared);
      if (!transport) {
        refused = endpoint.address + ":" + std::to_string(shared);
        break;
      }
      transports.push_back(transport);
      shared = BoundPort(transport->sock);
    }
    if (transports.size() == endpoints.size()) return transports;
    CloseAll(transports);
  }
  throw ListenError("cannot listen on " + refused +
                    ": the port is taken or the address is not local");
}

}  // namespace

MasterAgent::MasterAgent(const std::vector<AgentEndpoint>& endpoints, const AgentAccess& access,
                         uint16_t port)
    : hostsAllow_(sandbox_.Directory() + "/hosts.allow"),
      hostsDeny_(sandbox_.Directory() + "/hosts.deny") {
  for (const AgentEndpoint& endpoint : endpoints) {
    engineIds_.push_back(EngineIdHex(endpoint.engineIdText));
    in_addr address{};
    inet_pton(AF_INET, endpoint.address.c_str(), &address);
    shelves_[ntohl(address.s_addr)] = endpoint.shelf;
  }
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
  RegisterCardHandler(shelves_);
  if (access.v2c) GrantCommunities(access.communities);
  GrantUsers(access.users);
  SetEngine(engineIds_.front(), access.engineBoots);
  init_snmp(kApplication);
  CreateUsers(access.users, engineIds_);

  // The ports, opened here rather than by init_master_agent, which would
  // open the standard port list.
  std::vector<netsnmp_transport*> transports = OpenServers(endpoints, port);
  port_ = BoundPort(transports.front()->sock);
  for (size_t i = 0; i < transports.size(); ++i) {
    listeners.push_back({transports[i], Octets(engineIds_[i]), transports[i]->f_recv});
    transports[i]->f_recv = ReceiveAtAddress;
    if (netsnmp_register_agent_nsap(transports[i]) == 0) {
      throw std::runtime_error("cannot serve " + endpoints[i].address);
    }
  }
}

MasterAgent::~MasterAgent() {
  snmp_shutdown(kApplication);
  shutdown_master_agent();
  shutdown_agent();
  listeners.clear();
  localEngine = 0;
}

std::string MasterAgent::EngineId(size_t index) const {
  return engineIds_.at(index);
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
