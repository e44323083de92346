// t740-sim as a network: shelves of cards behind several loopback agents,
// line faults on a schedule, the targets file, and what it refuses.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "sim/agent/agent_addresses.h"

namespace t740::test {
namespace {

const std::string kGroups = "1.3.6.1.4.1.47291.2.1.1.85.1.";
const std::string kTexts = "1.3.6.1.4.1.47291.2.1.1.86.";

ProgramRun Get(const std::string& address, std::vector<std::string> oids) {
  std::vector<std::string> arguments = {"-Oqv", "-v2c", "-c", "public", "-t",
                                        "1",    "-r",   "0",  address};
  arguments.insert(arguments.end(), oids.begin(), oids.end());
  return RunProgram(SnmpGetPath(), arguments);
}

std::string At(const std::string& agent, const SimAgent& sim) {
  return agent + ":" + std::to_string(sim.Port());
}

std::string Write(const ScratchDirectory& directory, const std::string& name,
                  const std::string& text) {
  const std::string path = directory.Path() + "/" + name;
  std::ofstream(path) << text;
  return path;
}

// Port A to 0 of the card at 127.0.0.2 0101 (healthy), 127.0.0.2 0102 (LLP
// on D) and the first card of the first agent, which shows the faults a
// lone simulator always has (LLP D, RLP C).
TEST(SimNetworkTest, EachAgentAnswersForItsOwnShelf) {
  SimAgent sim({"--agents", "2", "--cards", "0101-0103"});
  const ProgramRun first = Get(At("127.0.0.1", sim), {kGroups + "1.1.11", kGroups + "1.2.11"});
  ASSERT_EQ(first.exitStatus, 0) << first.err;
  EXPECT_EQ(first.out, "\"01 00 00 84 \"\n\"01 00 00 00 \"\n");
  const ProgramRun second = Get(At("127.0.0.2", sim), {kGroups + "1.1.11", kGroups + "1.2.11"});
  EXPECT_EQ(second.out, "\"01 00 00 00 \"\n\"01 00 00 80 \"\n") << second.err;

  // One request, the three status texts of one card.
  const ProgramRun texts =
      Get(At("127.0.0.2", sim), {kTexts + "1.3.1", kTexts + "1.3.2", kTexts + "1.3.3"});
  EXPECT_EQ(texts.exitStatus, 0) << texts.err;
  EXPECT_EQ(texts.out.find("No Such"), std::string::npos) << texts.out;

  const ProgramRun missing = Get(At("127.0.0.2", sim), {kGroups + "1.4.11"});
  EXPECT_NE(missing.out.find("No Such Object"), std::string::npos) << missing.out;
}

// STM-LOS of port A, as t740-host reads it from the card's alarm status.
std::optional<bool> LossOfSignalOnA(const SimAgent& sim) {
  const ProgramRun run = RunProgram(
      HostPath(), {"--snmp", At("127.0.0.2", sim), "--card", "0101", "status", "--format", "json"});
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(run.out));
  for (const QJsonValue& alarm : document.object()["alarms"].toArray()) {
    if (alarm["port"].toString() == "A" && alarm["name"].toString() == "STM-LOS") {
      return alarm["present"].toBool();
    }
  }
  return std::nullopt;
}

// Reads until the alarm is `present`, at most `patience`.
bool AlarmBecomes(const SimAgent& sim, bool present, std::chrono::seconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (std::chrono::steady_clock::now() < deadline) {
    if (LossOfSignalOnA(sim) == present) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

TEST(SimNetworkTest, AScheduledFibrePullRaisesAndClearsStmLos) {
  ScratchDirectory files;
  const std::string events = Write(files, "events",
                                   "# the far end's fibre, pulled for two seconds\n"
                                   "+2s 127.0.0.2 0101 A fibre-pulled\n"
                                   "+4s 127.0.0.2 0101 A fibre-restored\n");
  SimAgent sim({"--agents", "2", "--cards", "0101", "--events", events});
  EXPECT_EQ(LossOfSignalOnA(sim), false);
  EXPECT_TRUE(AlarmBecomes(sim, true, std::chrono::seconds(6)));
  EXPECT_TRUE(AlarmBecomes(sim, false, std::chrono::seconds(6)));
  ASSERT_EQ(sim.Stop(), 0);
  EXPECT_EQ(sim.Errors(),
            "t740-sim: +2s 127.0.0.2 0101 A fibre-pulled\n"
            "t740-sim: +4s 127.0.0.2 0101 A fibre-restored\n");
}

TEST(SimNetworkTest, TheTargetsFileListsEveryCard) {
  ScratchDirectory files;
  const std::string path = files.Path() + "/targets.json";
  SimAgent sim(
      {"--agents", "127.0.0.3,127.0.0.5", "--cards", "0101-0102,0301", "--targets-file", path});
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  QJsonParseError error;
  const QJsonArray groups =
      QJsonDocument::fromJson(QByteArray::fromStdString(text.str()), &error).array();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << text.str();
  std::set<std::string> served;
  for (const QJsonValue& group : groups) {
    ASSERT_EQ(group["targets"].toArray().size(), 1);
    served.insert(group["targets"][0].toString().toStdString() + " " +
                  group["labels"]["card"].toString().toStdString());
  }
  std::set<std::string> expected;
  for (const char* agent : {"127.0.0.3", "127.0.0.5"}) {
    for (const char* card : {"0101", "0102", "0301"}) expected.insert(At(agent, sim) + " " + card);
  }
  EXPECT_EQ(groups.size(), 6);
  EXPECT_EQ(served, expected);
}

// A UDP port held on 127.0.0.2 alone.
class HeldPort {
 public:
  HeldPort() : socket_(::socket(AF_INET, SOCK_DGRAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.2", &address.sin_addr);
    bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~HeldPort() { close(socket_); }
  std::string Port() const { return std::to_string(port_); }

 private:
  int socket_;
  uint16_t port_ = 0;
};

TEST(SimNetworkTest, BadNetworksAreRefusedNamingTheOptionOrLine) {
  ScratchDirectory files;
  const HeldPort held;
  struct Case {
    std::vector<std::string> arguments;
    std::string says;
  };
  const Case kCases[] = {
      {{"--cards", "0103,13"}, "--cards: cards 0103 and 13 are the same card"},
      {{"--card", "0107", "--cards", "0101"}, "--card and --cards: give one of them"},
      {{"--agents", "16777215"}, "--agents: '16777215': 127.0.0.0/8 holds 1 to 16777214"},
      {{"--agents", "3", "--port", held.Port()}, "cannot listen on 127.0.0.2:" + held.Port()},
      {{"--events", Write(files, "unknown", "+1s 127.0.0.1 0107 A fibre-cut\n")},
       "line 1: unknown event 'fibre-cut'"},
      {{"--events", Write(files, "card", "+1s 127.0.0.1 0108 A fibre-pulled\n")},
       "line 1: no card 0108 at 127.0.0.1"},
  };
  for (const Case& c : kCases) {
    const ProgramRun run = RunProgram(SimAgentPath(), c.arguments);
    EXPECT_EQ(run.exitStatus, 2) << c.says;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.says << " | " << run.err;
    EXPECT_EQ(run.out, "") << c.says;  // nothing listened
  }
}

TEST(AgentAddressesTest, CountsAndListsStayInTheLoopbackNetwork) {
  EXPECT_EQ(sim::ParseAgentAddresses("3"),
            (std::vector<std::string>{"127.0.0.1", "127.0.0.2", "127.0.0.3"}));
  EXPECT_EQ(sim::ParseAgentAddresses("127.0.1.7,127.255.255.254"),
            (std::vector<std::string>{"127.0.1.7", "127.255.255.254"}));
  EXPECT_EQ(sim::ParseAgentAddresses("300").back(), "127.0.1.44");
  for (const char* bad : {"0", "127.0.0.0", "127.255.255.255", "127.0.0.2,127.0.0.2", "x", ""}) {
    EXPECT_THROW(sim::ParseAgentAddresses(bad), sim::AgentAddressError) << bad;
  }
  EXPECT_EQ(sim::OffsetAddress("192.168.1.255", 2), "192.168.2.1");
  EXPECT_THROW(sim::OffsetAddress("255.255.255.255", 1), sim::AgentAddressError);
}

}  // namespace
}  // namespace t740::test
