// t740-sim stopped and started again on the same port while a host goes on
// using it, over SNMPv2c and SNMPv3: the host's next request works, and over
// v3 the agent's engine boots count has gone up, so the host's library
// takes the new count from the agent's report and resends.
#include <sys/stat.h>

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "child_process.h"
#include "host/commands/command_line.h"
#include "hosting/transport/snmp_library.h"
#include "hosting/transport/snmp_transport.h"

namespace t740::test {
namespace {

constexpr char kReadLoopback[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.07.11";
constexpr char kWriteLoopback[] = "1.3.6.1.4.1.47291.2.1.1.85.2.01.07.11";
constexpr char kDefaultLoopback[] = "01000084";

std::string PrivateFile(const ScratchDirectory& directory, const std::string& name,
                        const std::string& text) {
  const std::string path = directory.Path() + "/" + name;
  std::ofstream(path) << text;
  chmod(path.c_str(), 0600);
  return path;
}

class AgentRestartTest : public ::testing::Test {
 protected:
  AgentRestartTest()
      : users(PrivateFile(files, "users", "alice authPriv SHA-256 alice-auth AES alice-priv\n")),
        authFile(PrivateFile(files, "auth", "alice-auth\n")),
        privFile(PrivateFile(files, "priv", "alice-priv\n")) {
    agent.emplace(AgentArguments());
  }

  std::vector<std::string> AgentArguments() const {
    return {"--v3-users", users, "--state-dir", state.Path() + "/t740-sim"};
  }

  // Stops the agent and starts it again on the same port; false when the
  // new one did not come up there.
  bool Restart() {
    const uint16_t port = agent->Port();
    EXPECT_EQ(agent->Stop(), 0) << agent->Errors();
    agent.reset();
    std::vector<std::string> arguments = AgentArguments();
    arguments.insert(arguments.end(), {"--port", std::to_string(port)});
    agent.emplace(arguments);
    return agent->Port() == port;
  }

  // The host's words for the agent: v2c, or v3 as alice with authPriv. No
  // retries: the resend after the agent's time-window report is no retry.
  std::vector<std::string> Host(bool v3, std::vector<std::string> more) const {
    std::vector<std::string> words = {
        "--snmp", agent->Address(), "--snmp-timeout", "500", "--snmp-retries", "0", "--trace"};
    if (v3) {
      words.insert(words.end(), {"--snmp-version", "3", "--snmp-user", "alice",
                                 "--snmp-auth-protocol", "SHA-256", "--snmp-auth-pass-file",
                                 authFile, "--snmp-priv-pass-file", privFile});
    }
    words.insert(words.end(), more.begin(), more.end());
    return words;
  }

  ScratchDirectory files;
  ScratchDirectory state;
  std::string users;
  std::string authFile;
  std::string privFile;
  std::optional<SimAgent> agent;
};

std::string Read(host::SnmpTransport& transport) {
  CText response("left over");
  transport.Request(0, CText("192.168.1.100"), CText(kReadLoopback), CText("1"), CText(),
                    &response);
  return std::string(response.view());
}

std::string Write(host::SnmpTransport& transport, const std::string& value) {
  CText response("preset");
  transport.Request(1, CText("192.168.1.100"), CText(kWriteLoopback), CText("1"), CText(value),
                    &response);
  return std::string(response.view());
}

// The agent's boots count as this process's net-snmp last heard it, from
// the engine id the agent printed ("0x..."); 0 when it knows none.
unsigned ManagersBootsFor(const std::string& engineId) {
  std::string id;
  for (size_t i = 2; i + 1 < engineId.size(); i += 2) {
    id += static_cast<char>(std::stoi(engineId.substr(i, 2), nullptr, 16));
  }
  u_int boots = 0;
  u_int time = 0;
  std::lock_guard<std::mutex> library(host::SnmpLibraryMutex());
  if (get_enginetime(reinterpret_cast<const u_char*>(id.data()), id.size(), &boots, &time, TRUE) !=
      SNMPERR_SUCCESS) {
    return 0;
  }
  return boots;
}

TEST_F(AgentRestartTest, StatusWorksAgainAfterTheAgentRestartsOverV2cAndV3) {
  for (int run = 0; run < 2; ++run) {
    for (bool v3 : {false, true}) {
      const ProgramRun status = RunProgram(HostPath(), Host(v3, {"status"}));
      EXPECT_EQ(status.exitStatus, 0) << "v3 " << v3 << ", run " << run << ": " << status.err;
      EXPECT_EQ(status.err, "") << "v3 " << v3 << ", run " << run;
    }
    if (run == 0) {
      ASSERT_TRUE(Restart());
    }
  }
}

TEST_F(AgentRestartTest, AHostsSessionsGoOnAcrossARestartAndTheEngineBootsGoUp) {
  std::ostringstream trace;
  host::SnmpTransport v2c(host::ParseCommandLine(Host(false, {})).options, trace);
  host::SnmpTransport v3(host::ParseCommandLine(Host(true, {})).options, trace);
  EXPECT_EQ(agent->EngineBoots(), 1u);
  EXPECT_EQ(Write(v3, "010000AB"), "1");
  EXPECT_EQ(Read(v2c), "010000AB");
  EXPECT_EQ(ManagersBootsFor(agent->EngineId()), 1u);

  ASSERT_TRUE(Restart());
  EXPECT_EQ(agent->EngineBoots(), 2u);
  // The card came back with its defaults: its settings live in the agent.
  EXPECT_EQ(Read(v3), kDefaultLoopback);
  EXPECT_EQ(ManagersBootsFor(agent->EngineId()), 2u);
  EXPECT_EQ(Read(v2c), kDefaultLoopback);
  EXPECT_EQ(Write(v3, "01000005"), "1");
  EXPECT_EQ(Read(v2c), "01000005");
  EXPECT_EQ(trace.str(), "");

  ASSERT_TRUE(Restart());
  EXPECT_EQ(agent->EngineBoots(), 3u);
  EXPECT_EQ(Read(v3), kDefaultLoopback);
  EXPECT_EQ(ManagersBootsFor(agent->EngineId()), 3u);
  EXPECT_EQ(trace.str(), "");
}

}  // namespace
}  // namespace t740::test
