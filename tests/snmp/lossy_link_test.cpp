// The host's SNMP transport over t740-sim's lossy link: retries that get a
// request through, a SET whose answer is lost after the card applied it,
// requests delivered twice, and the bound on every request's wait; and the
// relay's bounded memory of managers.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "host/commands/command_line.h"
#include "hosting/transport/snmp_transport.h"
#include "sim/agent/lossy_link.h"

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

// A UDP socket on a free port of a loopback address.
class UdpSocket {
 public:
  explicit UdpSocket(const char* ip) : socket_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, ip, &address.sin_addr);
    EXPECT_EQ(bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  }
  ~UdpSocket() { close(socket_); }
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  uint16_t Port() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
  }
  void SendTo(uint16_t port) const {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    sendto(socket_, "?", 1, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  }
  // The port the next datagram came from; 0 when none came in a generous
  // while.
  uint16_t SenderOfNext() const {
    pollfd readable{socket_, POLLIN, 0};
    if (poll(&readable, 1, 5000) != 1) return 0;
    char byte;
    sockaddr_in from{};
    socklen_t length = sizeof from;
    recvfrom(socket_, &byte, 1, 0, reinterpret_cast<sockaddr*>(&from), &length);
    return ntohs(from.sin_port);
  }

 private:
  const int socket_;
};

// The relay speaks to the agent from one socket per manager and keeps 64 of
// them: a manager heard from lately keeps its socket when a new one comes,
// lowest address though it has.
TEST(LossyRelayTest, ForgetsTheManagerHeardFromLeastRecently) {
  const UdpSocket agent("127.0.0.1");
  const sim::LossyLink link(sim::LinkFaults{}, "127.0.0.1", 0, agent.Port());
  const auto upstreamOf = [&](const UdpSocket& manager) {
    manager.SendTo(link.Port());
    return agent.SenderOfNext();
  };
  const UdpSocket recent("127.0.0.1");
  const uint16_t upstream = upstreamOf(recent);
  ASSERT_NE(upstream, 0);
  std::vector<std::unique_ptr<UdpSocket>> others;
  const auto newManager = [&] {
    others.push_back(std::make_unique<UdpSocket>("127.0.0.2"));
    return upstreamOf(*others.back());
  };
  for (int i = 0; i < 63; ++i) ASSERT_NE(newManager(), 0);
  // The relay is full; `recent` is heard from last, then one manager more.
  ASSERT_EQ(upstreamOf(recent), upstream);
  ASSERT_NE(newManager(), 0);
  EXPECT_EQ(upstreamOf(recent), upstream);
}

}  // namespace
}  // namespace t740::test
