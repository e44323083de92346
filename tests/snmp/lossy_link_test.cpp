// The host's SNMP transport over t740-sim's lossy link: retries that get a
// request through, a SET whose answer is lost after the card applied it,
// requests delivered twice, and the bound on every request's wait.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "host/commands/command_line.h"
#include "hosting/transport/snmp_transport.h"

namespace t740::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kReadLoopback[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.07.11";
constexpr char kWriteLoopback[] = "1.3.6.1.4.1.47291.2.1.1.85.2.01.07.11";
constexpr char kPreset[] = "preset";
// Slack for the scheduler of a loaded two-core machine.
constexpr auto kSlack = std::chrono::milliseconds(700);

class LossyTransport {
 public:
  LossyTransport(const SimAgent& agent, int timeoutMilliseconds, int retries,
                 std::vector<std::string> more = {})
      : bound(std::chrono::milliseconds(timeoutMilliseconds) * (retries + 1)),
        transport(Options(agent, timeoutMilliseconds, retries, more), trace) {}

  std::string Read() {
    CText response("left over");
    Timed([&] {
      transport.Request(0, CText("192.168.1.100"), CText(kReadLoopback), CText("1"), CText(),
                        &response);
    });
    return std::string(response.view());
  }
  std::string Write(const std::string& value) {
    CText response(kPreset);
    Timed([&] {
      transport.Request(1, CText("192.168.1.100"), CText(kWriteLoopback), CText("1"), CText(value),
                        &response);
    });
    return std::string(response.view());
  }

  const std::chrono::milliseconds bound;
  Clock::duration longest{};

 private:
  static host::HostOptions Options(const SimAgent& agent, int timeoutMilliseconds, int retries,
                                   std::vector<std::string> more) {
    std::vector<std::string> words = {"--snmp",         agent.Address(),
                                      "--snmp-timeout", std::to_string(timeoutMilliseconds),
                                      "--snmp-retries", std::to_string(retries)};
    words.insert(words.end(), more.begin(), more.end());
    return host::ParseCommandLine(words).options;
  }

  template <typename Call>
  void Timed(Call call) {
    const auto start = Clock::now();
    call();
    longest = std::max(longest, Clock::now() - start);
  }

  std::ostringstream trace;
  host::SnmpTransport transport;
};

const char* const kValues[] = {"01000005", "01000011", "010000A0", "01000084"};

TEST(LossyLinkTest, RetriesCarryRequestsThroughLoss) {
  SimAgent agent({"--lose-requests", "40", "--fault-seed", "7"});
  LossyTransport host(agent, 150, 6);
  for (const char* value : kValues) {
    EXPECT_EQ(host.Write(value), "1") << value;
    EXPECT_EQ(host.Read(), value);
  }
  EXPECT_LT(host.longest, host.bound + kSlack);
}

TEST(LossyLinkTest, RequestsDeliveredTwiceLeaveTheCardAsOneWould) {
  SimAgent agent({"--duplicate", "100", "--jitter", "20"});
  LossyTransport host(agent, 500, 1);
  for (const char* value : kValues) {
    EXPECT_EQ(host.Write(value), "1") << value;
    EXPECT_EQ(host.Read(), value);
  }
}

TEST(LossyLinkTest, AWriteWhoseAnswerIsLostFailsAndTheNextReadShowsTheCard) {
  // The second request reaches the card, which acts on it; then nothing
  // passes for 900 ms, its answer and its retries included.
  SimAgent agent({"--stall", "2:900"});
  LossyTransport host(agent, 100, 2);
  ASSERT_EQ(host.Read(), "01000084");
  const auto written = Clock::now();
  EXPECT_EQ(host.Write("01000005"), kPreset);
  EXPECT_LT(host.longest, host.bound + kSlack);
  std::this_thread::sleep_until(written + std::chrono::milliseconds(1000));
  EXPECT_EQ(host.Read(), "01000005");
}

TEST(LossyLinkTest, NoRequestWaitsPastItsBound) {
  SimAgent agent({"--stall", "1:60000", "--delay", "50"});
  LossyTransport host(agent, 120, 3);
  host.Read();  // starts the silence
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(host.Read(), "");
    EXPECT_EQ(host.Write("01000005"), kPreset);
  }
  EXPECT_LT(host.longest, host.bound + kSlack);
  EXPECT_GE(host.longest, host.bound);
}

// Over SNMPv3 a new session first discovers the agent's engine; that wait
// counts against the same bound.
TEST(LossyLinkTest, EngineDiscoveryCountsAgainstTheBound) {
  ScratchDirectory files;
  const std::string users = files.Path() + "/users";
  { std::ofstream(users) << "carol noAuthNoPriv\n"; }
  chmod(users.c_str(), 0600);
  // The discovery starts the silence.
  SimAgent agent({"--v3-users", users, "--stall", "1:60000"});
  LossyTransport host(
      agent, 150, 2,
      {"--snmp-version", "3", "--snmp-user", "carol", "--snmp-security-level", "noAuthNoPriv"});
  EXPECT_EQ(host.Read(), "");
  EXPECT_EQ(host.Read(), "");
  EXPECT_EQ(host.Write("01000005"), kPreset);
  EXPECT_LT(host.longest, host.bound + kSlack);
}

}  // namespace
}  // namespace t740::test
