// The host's SNMP transport against t740-sim: the request function's
// contract over a real SNMP stack, and each way a request can fail.
#include "hosting/transport/snmp_transport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "child_process.h"
#include "host/commands/command_line.h"
#include "hosting/errors/host_error.h"

namespace t740::test {
namespace {

constexpr char kReadLoopback[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.07.11";
constexpr char kWriteLoopback[] = "1.3.6.1.4.1.47291.2.1.1.85.2.01.07.11";
constexpr char kPreset[] = "preset";

host::HostOptions OptionsFor(const std::string& address, std::vector<std::string> more = {}) {
  std::vector<std::string> words = {"--snmp",         address, "--snmp-timeout", "200",
                                    "--snmp-retries", "0",     "--trace"};
  words.insert(words.end(), more.begin(), more.end());
  return host::ParseCommandLine(words).options;
}

class SnmpTransportTest : public ::testing::Test {
 protected:
  SnmpTransportTest() : transport(OptionsFor(agent.Address()), trace) {}

  std::string Read(const std::string& oid) {
    CText response("left over");
    transport.Request(0, CText("192.168.1.100"), CText(oid), CText("1"), CText(), &response);
    return std::string(response.view());
  }
  std::string Write(const std::string& oid, const std::string& value) {
    CText response(kPreset);
    transport.Request(1, CText("192.168.1.100"), CText(oid), CText("1"), CText(value), &response);
    return std::string(response.view());
  }

  SimAgent agent;
  std::ostringstream trace;
  host::SnmpTransport transport;
};

TEST_F(SnmpTransportTest, AReadGivesUpperCaseHexAndAWriteExactlyOne) {
  EXPECT_EQ(Read(kReadLoopback), "01000084");
  EXPECT_EQ(Write(kWriteLoopback, "010000ab"), "1");
  EXPECT_EQ(Read(kReadLoopback), "010000AB");
  const std::string section = Read("1.3.6.1.4.1.47291.2.1.1.85.1.01.07.12");
  EXPECT_EQ(section.size(), 486u);
  EXPECT_EQ(section.substr(0, 6), "F00000");
  EXPECT_EQ(trace.str(), "");
}

TEST_F(SnmpTransportTest, BadIdentifiersAndValuesFailWithoutReachingTheCard) {
  // Card address "7": the fields "07" and nothing.
  EXPECT_EQ(Read("1.3.6.1.4.1.47291.2.1.1.85.1.07..11"), "");
  EXPECT_EQ(Write("1.3.6.1.4.1.47291.2.1.1.85.2.07..11", "01000005"), kPreset);
  EXPECT_EQ(Write("1.3.6.1.4.1.47291.2.1.1.85.2.O1.07.11", "01000005"), kPreset);
  EXPECT_EQ(Write(kWriteLoopback, "0100000"), kPreset);
  EXPECT_EQ(Write(kWriteLoopback, "010000G5"), kPreset);
  EXPECT_EQ(Read(kReadLoopback), "01000084");
  const std::string said = trace.str();
  EXPECT_NE(said.find("read of 1.3.6.1.4.1.47291.2.1.1.85.1.07..11 failed: not an identifier: "
                      "arc 14 is empty"),
            std::string::npos)
      << said;
  EXPECT_NE(said.find("'O1' is not decimal"), std::string::npos) << said;
  EXPECT_NE(said.find("the value is not hex octets (7 characters)"), std::string::npos) << said;
}

TEST_F(SnmpTransportTest, TheAgentsRefusalsLeaveTheResponseAsAFailure) {
  EXPECT_EQ(Read("1.3.6.1.4.1.47291.2.1.1.85.1.01.07.14"), "");
  EXPECT_EQ(Read("1.3.6.1.4.1.47291.2.1.1.85.1.01.08.11"), "");  // another card
  EXPECT_EQ(Write(kWriteLoopback, "0100000500"), kPreset);
  EXPECT_EQ(Write(kWriteLoopback, "02000005"), kPreset);
  EXPECT_EQ(Write(kReadLoopback, "01000005"), kPreset);
  EXPECT_EQ(Read(kReadLoopback), "01000084");
  const std::string said = trace.str();
  for (const char* reason : {"no such object", "wrongLength", "wrongValue", "notWritable"}) {
    EXPECT_NE(said.find(reason), std::string::npos) << reason << " in " << said;
  }
}

TEST_F(SnmpTransportTest, FetchesTheStatusTexts) {
  const std::string alarm = transport.FetchStatus(host::StatusText::Alarm, "", "0107");
  EXPECT_EQ(alarm.substr(0, 6), "1C0000");
  const std::string performance = transport.FetchStatus(host::StatusText::Performance, "", "0107");
  EXPECT_EQ(std::count(performance.begin(), performance.end(), ','), 5) << performance.size();
  EXPECT_EQ(transport.FetchStatus(host::StatusText::Led, "", "0108"), "");
  EXPECT_EQ(transport.FetchStatus(host::StatusText::Led, "", "7"), "");
}

TEST_F(SnmpTransportTest, TheWorkerAndTheMainThreadAskAtOnce) {
  constexpr int kReads = 25;
  int workerGood = 0;
  std::thread worker([&] {
    for (int i = 0; i < kReads; ++i) workerGood += Read(kReadLoopback) == "01000084";
  });
  int mainGood = 0;
  for (int i = 0; i < kReads; ++i) {
    mainGood += Read("1.3.6.1.4.1.47291.2.1.1.85.1.01.07.1").size() == 10;
  }
  worker.join();
  EXPECT_EQ(workerGood, kReads);
  EXPECT_EQ(mainGood, kReads);
}

TEST_F(SnmpTransportTest, AStoppedAgentIsATimeOut) {
  ASSERT_EQ(agent.Stop(), 0);
  EXPECT_EQ(Read(kReadLoopback), "");
  EXPECT_EQ(Write(kWriteLoopback, "01000005"), kPreset);
  EXPECT_NE(trace.str().find("no answer from udp:" + agent.Address() + " within 200 ms, 0 retries"),
            std::string::npos)
      << trace.str();
}

TEST(SnmpTransportCommunityTest, AWrongCommunityIsATimeOutTheReadCommunityCannotWrite) {
  SimAgent agent({"--read-community", "watch", "--write-community", "steer"});
  std::ostringstream trace;
  host::SnmpTransport wrong(OptionsFor(agent.Address()), trace);  // public / private
  CText response;
  wrong.Request(0, CText(), CText(kReadLoopback), CText("1"), CText(), &response);
  EXPECT_EQ(response.view(), "");
  EXPECT_NE(trace.str().find("no answer"), std::string::npos) << trace.str();

  host::SnmpTransport readOnly(OptionsFor(agent.Address(), {"--snmp-read-community", "watch",
                                                            "--snmp-write-community", "watch"}),
                               trace);
  readOnly.Request(0, CText(), CText(kReadLoopback), CText("1"), CText(), &response);
  EXPECT_EQ(response.view(), "01000084");
  response = CText(kPreset);
  readOnly.Request(1, CText(), CText(kWriteLoopback), CText("1"), CText("01000005"), &response);
  EXPECT_EQ(response.view(), kPreset);
  EXPECT_NE(trace.str().find("noAccess"), std::string::npos) << trace.str();

  host::SnmpTransport right(OptionsFor(agent.Address(), {"--snmp-read-community", "watch",
                                                         "--snmp-write-community", "steer"}),
                            trace);
  right.Request(1, CText(), CText(kWriteLoopback), CText("1"), CText("01000005"), &response);
  EXPECT_EQ(response.view(), "1");
}

TEST(SnmpTransportOptionsTest, TheSnmpTransportNeedsItsAgent) {
  host::HostOptions options = host::ParseCommandLine({"--transport", "snmp"}).options;
  std::ostringstream trace;
  EXPECT_THROW(host::SnmpTransport(options, trace), host::UsageError);
}

}  // namespace
}  // namespace t740::test
