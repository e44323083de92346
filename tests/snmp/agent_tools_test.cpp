// t740-sim as any SNMP manager sees it: net-snmp's snmpget, snmpset and
// snmpwalk read and write the card, and the agent stops cleanly.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>

#include "child_process.h"

namespace t740::test {
namespace {

const std::string kGroups = "1.3.6.1.4.1.47291.2.1.1.85";
const std::string kReadLoopback = kGroups + ".1.1.7.11";
const std::string kWriteLoopback = kGroups + ".2.1.7.11";
const std::string kWriteThresholds = kGroups + ".2.1.7.51";

std::vector<std::string> Tool(const std::string& community, const std::string& address) {
  return {"-v2c", "-c", community, "-t", "1", "-r", "0", address};
}

// The octets of a Hex-STRING value that -Oqvx prints, as hex text.
std::string HexValue(const std::string& printed) {
  std::string hex;
  for (char c : printed) {
    if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
  }
  return hex;
}

class AgentToolsTest : public ::testing::Test {
 protected:
  ProgramRun Get(const std::string& oid, const std::string& community = "public") {
    std::vector<std::string> arguments = Tool(community, agent.Address());
    arguments.insert(arguments.begin(), "-Oqvx");
    arguments.push_back(oid);
    return RunProgram(SnmpGetPath(), arguments);
  }
  ProgramRun Set(const std::vector<std::string>& bindings,
                 const std::string& community = "private") {
    std::vector<std::string> arguments = Tool(community, agent.Address());
    arguments.insert(arguments.begin(), "-On");
    arguments.insert(arguments.end(), bindings.begin(), bindings.end());
    return RunProgram(SnmpSetPath(), arguments);
  }
  std::string Loopback() { return HexValue(Get(kReadLoopback).out); }

  SimAgent agent;
};

TEST_F(AgentToolsTest, SnmpgetReadsTheGroupsAndTheStatusTexts) {
  const ProgramRun loopback = Get(kReadLoopback);
  ASSERT_EQ(loopback.exitStatus, 0) << loopback.err;
  EXPECT_EQ(HexValue(loopback.out), "01000084");
  EXPECT_EQ(HexValue(Get(kGroups + ".1.1.7.1").out), "0200002110");

  std::vector<std::string> arguments = Tool("public", agent.Address());
  arguments.insert(arguments.begin(), "-Oqv");
  arguments.push_back("1.3.6.1.4.1.47291.2.1.1.86.1.7.1");
  const ProgramRun alarm = RunProgram(SnmpGetPath(), arguments);
  ASSERT_EQ(alarm.exitStatus, 0) << alarm.err;
  EXPECT_EQ(alarm.out.substr(0, 7), "\"1C0000") << alarm.out;

  const ProgramRun missing = Get(kGroups + ".1.1.7.14");
  EXPECT_NE(missing.out.find("No Such Object"), std::string::npos) << missing.out;
}

TEST_F(AgentToolsTest, SnmpsetWritesTheCardAndSnmpgetReadsItBack) {
  const ProgramRun set = Set({kWriteLoopback, "x", "01000005"});
  ASSERT_EQ(set.exitStatus, 0) << set.err;
  EXPECT_EQ(Loopback(), "01000005");
}

TEST_F(AgentToolsTest, ASetIsAllOrNothing) {
  // Good loopback, thresholds one octet short: neither is written.
  const ProgramRun set = Set(
      {kWriteLoopback, "x", "01000005", kWriteThresholds, "x", "D80000" + std::string(430, '0')});
  EXPECT_NE(set.exitStatus, 0);
  EXPECT_NE(set.err.find("wrongLength"), std::string::npos) << set.err;
  EXPECT_NE(set.err.find(kWriteThresholds), std::string::npos) << set.err;
  EXPECT_EQ(Loopback(), "01000084");

  const ProgramRun both = Set(
      {kWriteLoopback, "x", "01000005", kWriteThresholds, "x", "D80000" + std::string(432, '0')});
  EXPECT_EQ(both.exitStatus, 0) << both.err;
  EXPECT_EQ(Loopback(), "01000005");
}

TEST_F(AgentToolsTest, SetsOfTheWrongKindAreRefused) {
  struct Case {
    std::vector<std::string> bindings;
    const char* reason;
  };
  const Case kCases[] = {
      {{kWriteLoopback, "i", "5"}, "wrongType"},
      {{kWriteLoopback, "x", "02000005"}, "wrongValue"},
      {{kWriteLoopback, "x", "0100000500"}, "wrongLength"},
      {{kReadLoopback, "x", "01000005"}, "notWritable"},
      {{kGroups + ".2.1.7.14", "x", "01000005"}, "noCreation"},
  };
  for (const Case& c : kCases) {
    const ProgramRun set = Set(c.bindings);
    EXPECT_NE(set.exitStatus, 0);
    EXPECT_NE(set.err.find(c.reason), std::string::npos) << c.reason << ": " << set.err;
  }
  EXPECT_EQ(Loopback(), "01000084");
}

TEST_F(AgentToolsTest, CommunitiesDecideWhoReadsAndWrites) {
  const ProgramRun stranger = Get(kReadLoopback, "stranger");
  EXPECT_NE(stranger.exitStatus, 0);
  EXPECT_NE(stranger.err.find("Timeout"), std::string::npos) << stranger.err;

  const ProgramRun reader = Set({kWriteLoopback, "x", "01000005"}, "public");
  EXPECT_NE(reader.exitStatus, 0);
  EXPECT_NE(reader.err.find("noAccess"), std::string::npos) << reader.err;
  EXPECT_EQ(HexValue(Get(kReadLoopback, "private").out), "01000084");
}

TEST_F(AgentToolsTest, SnmpwalkListsTheCardInOrder) {
  std::vector<std::string> arguments = Tool("public", agent.Address());
  arguments.insert(arguments.begin(), "-On");
  arguments.push_back("1.3.6.1.4.1.47291");
  const ProgramRun walk = RunProgram(SnmpWalkPath(), arguments);
  ASSERT_EQ(walk.exitStatus, 0) << walk.err;
  std::vector<std::string> names;
  std::istringstream lines(walk.out);
  for (std::string line; std::getline(lines, line);) {
    // The walk's last line names where it ended.
    if (line.find("No more variables") != std::string::npos) continue;
    if (line.rfind(".1.3.6", 0) == 0) names.push_back(line.substr(0, line.find(' ')));
  }
  const std::string g = "." + kGroups + ".1.1.7.";
  const std::string s = ".1.3.6.1.4.1.47291.2.1.1.86.1.7.";
  EXPECT_EQ(names, (std::vector<std::string>{g + "1", g + "11", g + "12", g + "13", g + "51",
                                             s + "1", s + "2", s + "3"}));
}

TEST_F(AgentToolsTest, SigtermStopsItAndItsTemporaryFilesGo) {
  ASSERT_EQ(Loopback(), "01000084");
  EXPECT_FALSE(agent.Temporary().IsEmpty());  // its sandbox, while it runs
  EXPECT_EQ(agent.Stop(), 0);
  EXPECT_TRUE(agent.Temporary().IsEmpty());
  EXPECT_EQ(agent.Errors(), "");
}

TEST(AgentOptionsTest, BadOptionsAreRefused) {
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"--card", "7"},
                                             {"--card", "12345"},
                                             {"--card", "01a7"},
                                             {"--ip", "300.1.2.3"},
                                             {"--port", "65536"},
                                             {"--read-community", ""},
                                             {"--port"},
                                             {"extra"}}) {
    const ProgramRun run = RunProgram(SimAgentPath(), arguments);
    EXPECT_EQ(run.exitStatus, 2) << arguments[0];
    EXPECT_NE(run.err.find("t740-sim: "), std::string::npos) << run.err;
  }
  const ProgramRun help = RunProgram(SimAgentPath(), {"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("--write-community"), std::string::npos);
}

// The communities go into net-snmp's configuration lines, where 'x default'
// would grant `x` alone. --help ends a run that took the community.
TEST(AgentOptionsTest, CommunitiesNetSnmpWouldSplitOrQuoteAreRefused) {
  const std::pair<const char*, const char*> bad[] = {
      {"x default", "a space"},   {"x\tdefault", "a control character"},
      {"x\"y", "a double quote"}, {"'x'", "a single quote"},
      {"x#y", "a '#'"},           {"-V", "begins with '-'"},
  };
  for (const char* option : {"--read-community", "--write-community"}) {
    for (const auto& [community, named] : bad) {
      const ProgramRun run = RunProgram(SimAgentPath(), {option, community, "--help"});
      EXPECT_EQ(run.exitStatus, 2) << option << " " << community;
      EXPECT_NE(run.err.find(std::string("t740-sim: ") + option + ": "), std::string::npos)
          << run.err;
      EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
    }
  }
}

TEST(AgentAddressTest, ServesTheCardAddressItWasGiven) {
  SimAgent agent({"--card", "0203", "--read-community", "r"});
  const ProgramRun run = RunProgram(SnmpGetPath(), {"-Oqvx", "-v2c", "-c", "r", "-t", "1", "-r",
                                                    "0", agent.Address(), kGroups + ".1.2.3.11"});
  EXPECT_EQ(HexValue(run.out), "01000084") << run.err;
}

}  // namespace
}  // namespace t740::test
