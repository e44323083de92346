// t740-sim --notify: a card's alarm changes reach a receiver on 127.0.0.1
// as SNMPv2c traps, whether present at the start, brought by a line event
// or by a SET of the card's loopback.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <functional>
#include <optional>

#include "child_process.h"

namespace t740::test {
namespace {

// As T740-MIB names them.
const std::string kSnmpTrapOid = "1.3.6.1.6.3.1.1.4.1.0";
const std::string kAlarmChange = "1.3.6.1.4.1.47291.2.1.1.0.1";
const std::string kAlarmObjects = "1.3.6.1.4.1.47291.2.1.1.87.";

struct Trap {
  std::string community;
  std::string trapOid;
  std::string ip, card, port, alarm;
  long state = 0;  // 1 raised, 2 cleared
  unsigned long time = 0;
};

std::string Dotted(const oid* name, size_t length) {
  std::string text;
  for (size_t i = 0; i < length; ++i) text += (i ? "." : "") + std::to_string(name[i]);
  return text;
}

std::string Octets(const netsnmp_variable_list* variable) {
  return {reinterpret_cast<const char*>(variable->val.string), variable->val_len};
}

void Take(Trap& trap, const netsnmp_variable_list* variable) {
  const std::string name = Dotted(variable->name, variable->name_length);
  const std::pair<std::string, std::string Trap::*> texts[] = {
      {kAlarmObjects + "1.0", &Trap::ip},
      {kAlarmObjects + "2.0", &Trap::card},
      {kAlarmObjects + "3.0", &Trap::port},
      {kAlarmObjects + "4.0", &Trap::alarm},
  };
  for (const auto& [object, field] : texts) {
    if (name == object) trap.*field = Octets(variable);
  }
  if (name == kSnmpTrapOid) {
    trap.trapOid = Dotted(variable->val.objid, variable->val_len / sizeof(oid));
  }
  if (name == kAlarmObjects + "5.0") trap.state = *variable->val.integer;
  if (name == kAlarmObjects + "6.0") trap.time = static_cast<unsigned long>(*variable->val.integer);
}

// A v2c trap decoded by net-snmp's own parser; nothing for anything else.
std::optional<Trap> Decode(std::string datagram) {
  auto* data = reinterpret_cast<u_char*>(datagram.data());
  size_t length = datagram.size();
  u_char community[256];
  size_t communityLength = sizeof community;
  long version = 0;
  data = snmp_comstr_parse(data, &length, community, &communityLength, &version);
  if (!data || version != SNMP_VERSION_2c) return std::nullopt;
  netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_TRAP2);
  std::optional<Trap> trap;
  if (snmp_pdu_parse(pdu, data, &length) == 0 && pdu->command == SNMP_MSG_TRAP2) {
    trap = Trap{};
    trap->community.assign(reinterpret_cast<char*>(community), communityLength);
    for (auto* variable = pdu->variables; variable; variable = variable->next_variable) {
      Take(*trap, variable);
    }
  }
  snmp_free_pdu(pdu);
  return trap;
}

class TrapReceiver {
 public:
  TrapReceiver() : socket_(::socket(AF_INET, SOCK_DGRAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
  }
  ~TrapReceiver() { close(socket_); }
  std::string Target() const { return "127.0.0.1:" + std::to_string(port_); }

  // Every trap until `last` is among them; stops early when nothing comes
  // for a long while.
  std::vector<Trap> Until(const std::function<bool(const Trap&)>& last) {
    constexpr int kSilenceMilliseconds = 20000;
    std::vector<Trap> traps;
    pollfd wait{socket_, POLLIN, 0};
    while (poll(&wait, 1, kSilenceMilliseconds) == 1) {
      std::string datagram(65536, '\0');
      const ssize_t size = recv(socket_, datagram.data(), datagram.size(), 0);
      if (size <= 0) break;
      datagram.resize(static_cast<size_t>(size));
      const auto trap = Decode(datagram);
      if (!trap) continue;
      traps.push_back(*trap);
      if (last(*trap)) break;
    }
    return traps;
  }

 private:
  int socket_;
  uint16_t port_ = 0;
};

std::function<bool(const Trap&)> Is(const std::string& port, const std::string& alarm, long state) {
  return [=](const Trap& trap) {
    return trap.card == "0107" && trap.port == port && trap.alarm == alarm && trap.state == state;
  };
}

// "A STM-LOS 1" for each trap of the card's `port`, in the order they came.
std::vector<std::string> OfPort(const std::vector<Trap>& traps, const std::string& port) {
  std::vector<std::string> seen;
  for (const Trap& trap : traps) {
    if (trap.port == port) seen.push_back(trap.alarm + " " + std::to_string(trap.state));
  }
  return seen;
}

constexpr long kRaised = 1;
constexpr long kCleared = 2;

// The lone card starts with port B's fibre out and a wrong trace on C; a
// fibre pulled and put back on A rises and clears A's loss of signal.
TEST(SimNotifyTest, FibrePullRisesThenClearsAfterTheAlarmsOfTheStart) {
  TrapReceiver receiver;
  ScratchDirectory files;
  const std::string events = files.Path() + "/events";
  std::ofstream(events) << "+300ms 127.0.0.1 0107 A fibre-pulled\n"
                           "+600ms 127.0.0.1 0107 A fibre-restored\n";
  const auto started = static_cast<unsigned long>(std::time(nullptr));
  SimAgent sim({"--notify", receiver.Target(), "--read-community", "watcher", "--events", events});
  const std::vector<Trap> traps = receiver.Until(Is("A", "STM-LOS", kCleared));

  EXPECT_EQ(OfPort(traps, "A"), (std::vector<std::string>{"STM-LOS 1", "STM-LOS 2"}));
  EXPECT_EQ(OfPort(traps, "B"), std::vector<std::string>{"STM-LOS 1"});
  EXPECT_EQ(OfPort(traps, "C"), std::vector<std::string>{"RS-TIM 1"});
  EXPECT_TRUE(OfPort(traps, "D").empty());
  unsigned long previous = started;
  for (const Trap& trap : traps) {
    EXPECT_EQ(trap.community, "watcher");
    EXPECT_EQ(trap.trapOid, kAlarmChange);
    EXPECT_EQ(trap.ip, "192.168.1.100");
    EXPECT_EQ(trap.card, "0107");
    EXPECT_GE(trap.time, previous) << trap.port << " " << trap.alarm;
    previous = trap.time;
  }
}

// LLP on A turns A's own trace back into it, which is not the trace it
// expects: RS-TIM rises with the SET and clears with the SET that undoes it.
TEST(SimNotifyTest, LoopbackWrittenBySnmpRaisesAndClearsTheTraceAlarm) {
  const std::string kWriteLoopback = "1.3.6.1.4.1.47291.2.1.1.85.2.1.7.11";
  TrapReceiver receiver;
  SimAgent sim({"--notify", receiver.Target()});
  receiver.Until(Is("C", "RS-TIM", kRaised));
  const struct {
    const char* loopback;
    long state;
  } kSteps[] = {{"01000094", kRaised}, {"01000084", kCleared}};
  std::vector<Trap> traps;
  for (const auto& step : kSteps) {
    const ProgramRun set =
        RunProgram(SnmpSetPath(), {"-v2c", "-c", "private", "-t", "1", "-r", "0", sim.Address(),
                                   kWriteLoopback, "x", step.loopback});
    ASSERT_EQ(set.exitStatus, 0) << set.err;
    const auto arrived = receiver.Until(Is("A", "RS-TIM", step.state));
    traps.insert(traps.end(), arrived.begin(), arrived.end());
  }
  EXPECT_EQ(OfPort(traps, "A"), (std::vector<std::string>{"RS-TIM 1", "RS-TIM 2"}));
  EXPECT_EQ(traps.size(), 2u);
}

}  // namespace
}  // namespace t740::test
