// t740-host --snmp end to end: the built host and plug-in against
// t740-sim, beside the same host with the card in-process.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "child_process.h"
#include "output_sections.h"

namespace t740::test {
namespace {

std::vector<std::string> Snmp(const SimAgent& agent, std::vector<std::string> more) {
  std::vector<std::string> arguments = {"--snmp", agent.Address(), "--trace"};
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

TEST(HostSnmpTest, StatusDecodesTheSameAlarmsAndLedsAsInProcess) {
  SimAgent agent;
  const ProgramRun snmp = RunProgram(HostPath(), Snmp(agent, {"status"}));
  const ProgramRun local = RunProgram(HostPath(), {"status"});
  ASSERT_EQ(snmp.exitStatus, 0) << snmp.err;
  ASSERT_EQ(local.exitStatus, 0) << local.err;
  EXPECT_EQ(snmp.err, "");
  EXPECT_NE(snmp.out.find("(SNMPv2c agent at " + agent.Address() + ")"), std::string::npos);
  const std::vector<std::string> alarms = SectionWithTitle(snmp.out, "Alarms");
  EXPECT_EQ(alarms.size(), 18u);  // title, heading and sixteen rows
  EXPECT_EQ(alarms, SectionWithTitle(local.out, "Alarms"));
  EXPECT_EQ(SectionWithTitle(snmp.out, "LEDs"), SectionWithTitle(local.out, "LEDs"));
  // The counters run with each card's clock; the records' shape is the same.
  EXPECT_EQ(SectionWithTitle(snmp.out, "Performance, 15 minutes, history").size(),
            SectionWithTitle(local.out, "Performance, 15 minutes, history").size());
}

TEST(HostSnmpTest, TheWindowCommandsRunOverSnmp) {
  SimAgent agent;
  ScratchDirectory pictures;
  for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
           {"configure", "--screenshots", pictures.Path()}, {"shield"}, {"thresholds"}}) {
    const ProgramRun run = RunProgram(HostPath(), Snmp(agent, command));
    EXPECT_EQ(run.exitStatus, 0) << command[0] << ": " << run.err;
    // --trace is on: a request that failed would have said so.
    EXPECT_EQ(run.err.find("t740-host:"), std::string::npos) << command[0] << ": " << run.err;
  }
  EXPECT_TRUE(std::filesystem::exists(pictures.Path() + "/config-loopback.png"));
}

TEST(HostSnmpTest, AStoppedAgentOrAWrongCommunityFailsWithinItsTimeOut) {
  SimAgent agent;
  const std::vector<std::string> quick = {"--snmp-timeout", "150", "--snmp-retries", "1"};
  std::vector<std::string> wrong = Snmp(agent, quick);
  wrong.insert(wrong.end(), {"--snmp-read-community", "stranger", "status"});
  const ProgramRun stranger = RunProgram(HostPath(), wrong);
  EXPECT_EQ(stranger.exitStatus, 1);
  EXPECT_NE(stranger.err.find("no alarm status from the card"), std::string::npos) << stranger.err;
  EXPECT_NE(stranger.err.find("within 150 ms, 1 retry"), std::string::npos) << stranger.err;

  ASSERT_EQ(agent.Stop(), 0);
  std::vector<std::string> status = Snmp(agent, quick);
  status.push_back("status");
  const auto start = std::chrono::steady_clock::now();
  const ProgramRun stopped = RunProgram(HostPath(), status);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(stopped.exitStatus, 1);
  EXPECT_NE(stopped.err.find("no LED status from the card"), std::string::npos) << stopped.err;
  // Three texts of two tries each; a bound far above that, so a host that
  // waits for ever fails here instead of hanging the suite.
  EXPECT_LT(took, std::chrono::seconds(20));
}

TEST(HostSnmpTest, BadSnmpOptionsAreUsageErrors) {
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"--snmp", "300.1.2.3", "status"},
           {"--snmp", "localhost:1161", "status"},
           {"--snmp", "127.0.0.1:0", "status"},
           {"--snmp", "127.0.0.1:", "status"},
           {"--snmp", "127.0.0.1:70000", "status"},
           {"--snmp", "127.0.0.1", "--snmp-timeout", "0", "status"},
           {"--snmp", "127.0.0.1", "--snmp-retries", "11", "status"},
           {"--snmp", "127.0.0.1", "--snmp-write-community", "", "status"},
           {"--trace=yes", "status"},
           {"--transport", "snmp", "status"}}) {
    const ProgramRun run = RunProgram(HostPath(), arguments);
    EXPECT_EQ(run.exitStatus, 2) << arguments[0] << " " << arguments[1] << ": " << run.err;
  }
  const ProgramRun help = RunProgram(HostPath(), {"--help"});
  EXPECT_NE(help.out.find("  --trace\n"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("  --snmp ADDRESS[:PORT]\n"), std::string::npos);
}

}  // namespace
}  // namespace t740::test
