// t740-exporter's SNMP conversations end to end: two auths of one v3 user
// at one agent, a pass phrase changed and reloaded, a card replaced behind
// its address, and the tries a silent agent is given and counted.
#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "exporter_process.h"

namespace t740::test {
namespace {

constexpr char kUsers[] = "alice authPriv SHA-256 alice-auth-pass AES alice-priv-pass\n";

std::string Body(const ExporterProcess& exporter, const std::string& path) {
  httplib::Client client("127.0.0.1", exporter.Port());
  client.set_read_timeout(30, 0);
  const auto answer = client.Get(path.c_str());
  return answer ? answer->body : "";
}

double Up(const ExporterProcess& exporter, const std::string& address, const std::string& auth) {
  return Sample(Body(exporter, "/probe?target=" + address + "&card=0107&auth=" + auth), "t740_up");
}

int Reload(const ExporterProcess& exporter) {
  httplib::Client client("127.0.0.1", exporter.Port());
  const auto answer = client.Post("/-/reload");
  return answer ? answer->status : 0;
}

// An auth of user alice, its pass phrases in files beside the
// configuration.
std::string AliceAuth(const ConfigFile& config, const std::string& name,
                      const std::string& protocol, const std::string& authPass,
                      const std::string& privPass) {
  config.Beside(name + ".auth", authPass + "\n");
  config.Beside(name + ".priv", privPass + "\n");
  return "  " + name +
         ":\n    version: 3\n    username: alice\n    security_level: authPriv\n"
         "    auth_protocol: " +
         protocol + "\n    password_file: " + name + ".auth\n    priv_protocol: AES\n" +
         "    priv_password_file: " + name + ".priv\n";
}

// Each auth signs with its own keys, whichever the exporter used first.
TEST(ExporterSessionsTest, TwoAuthsOfOneUserAtOneAgentEachUseTheirOwnKeys) {
  const ConfigFile config("");
  config.Write("timeout: 300ms\nretries: 1\nauths:\n" +
               AliceAuth(config, "right", "SHA-256", "alice-auth-pass", "alice-priv-pass") +
               AliceAuth(config, "wrong_auth", "SHA-256", "bob-auth-pass", "alice-priv-pass") +
               AliceAuth(config, "wrong_priv", "SHA-256", "alice-auth-pass", "bob-priv-pass") +
               AliceAuth(config, "wrong_protocol", "SHA", "alice-auth-pass", "alice-priv-pass"));
  SimAgent agent({"--no-v2c", "--v3-users", config.Beside("users", kUsers)});
  const std::vector<std::string> wrong = {"wrong_auth", "wrong_priv", "wrong_protocol"};
  for (const bool rightFirst : {true, false}) {
    ExporterProcess exporter({"--config.file", config.Path()});
    if (rightFirst) {
      EXPECT_EQ(Up(exporter, agent.Address(), "right"), 1) << exporter.Log();
    }
    for (const std::string& auth : wrong) {
      EXPECT_EQ(Up(exporter, agent.Address(), auth), 0) << auth << " right first: " << rightFirst;
    }
    EXPECT_EQ(Up(exporter, agent.Address(), "right"), 1) << "right first: " << rightFirst;
  }
}

TEST(ExporterSessionsTest, APassPhraseChangedInItsFileIsUsedOnceReloaded) {
  const ConfigFile config("");
  config.Write("timeout: 300ms\nretries: 1\nauths:\n" +
               AliceAuth(config, "v3", "SHA-256", "alice-auth-pass", "alice-priv-pass"));
  SimAgent agent({"--no-v2c", "--v3-users", config.Beside("users", kUsers)});
  ExporterProcess exporter({"--config.file", config.Path()});
  ASSERT_EQ(Up(exporter, agent.Address(), "v3"), 1) << exporter.Log();
  for (const char* phrase : {"stale-auth-pass", "alice-auth-pass"}) {
    config.Beside("v3.auth", std::string(phrase) + "\n");
    ASSERT_EQ(Reload(exporter), 200);
    EXPECT_EQ(Up(exporter, agent.Address(), "v3"), std::string(phrase) == "alice-auth-pass")
        << phrase;
  }
}

// A new card at the address answers from another engine.
TEST(ExporterSessionsTest, ACardReplacedBehindItsAddressIsDiscoveredAgain) {
  const ConfigFile config("");
  config.Write("timeout: 300ms\nretries: 1\nauths:\n" +
               AliceAuth(config, "v3", "SHA-256", "alice-auth-pass", "alice-priv-pass"));
  const std::string users = config.Beside("users", kUsers);
  auto agent =
      std::make_unique<SimAgent>(std::vector<std::string>{"--no-v2c", "--v3-users", users});
  const std::string address = agent->Address();
  const std::string port = std::to_string(agent->Port());
  const std::string engine = agent->EngineId();
  ExporterProcess exporter({"--config.file", config.Path()});
  ASSERT_EQ(Up(exporter, address, "v3"), 1) << exporter.Log();
  ASSERT_EQ(agent->Stop(), 0);
  agent = std::make_unique<SimAgent>(std::vector<std::string>{
      "--no-v2c", "--v3-users", users, "--port", port, "--ip", "192.168.1.200"});
  ASSERT_EQ(agent->Address(), address);
  ASSERT_NE(agent->EngineId(), engine);
  EXPECT_EQ(Up(exporter, address, "v3"), 1) << exporter.Log();
}

// A UDP socket on 127.0.0.1 that never answers, counting what it is sent.
class SilentAgent {
 public:
  SilentAgent() : socket_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentAgent() { close(socket_); }
  SilentAgent(const SilentAgent&) = delete;
  SilentAgent& operator=(const SilentAgent&) = delete;

  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  // The datagrams that came since the last call; loopback has delivered
  // every one sent before the probe's answer.
  int Received() const {
    char datagram[2048];
    int count = 0;
    while (recv(socket_, datagram, sizeof datagram, MSG_DONTWAIT) >= 0) ++count;
    return count;
  }

 private:
  int socket_;
  uint16_t port_ = 0;
};

// Every probe, the first one included, sends each try of its time-out and
// retries, an SNMPv3 engine's discovery being one of them; the exporter
// counts each message sent and each probe that timed out.
TEST(ExporterSessionsTest, EachProbeOfASilentAgentMakesEveryTryAndEachIsCounted) {
  const ConfigFile config("");
  config.Write("timeout: 300ms\nretries: 1\nauths:\n" +
               AliceAuth(config, "v3", "SHA-256", "alice-auth-pass", "alice-priv-pass"));
  const SilentAgent silent;
  ExporterProcess exporter({"--config.file", config.Path()});
  for (int probe = 0; probe < 2; ++probe) {
    EXPECT_EQ(Sample(Body(exporter, "/probe?target=" + silent.Address() + "&card=0107"), "t740_up"),
              0);
    EXPECT_EQ(silent.Received(), 2) << "probe " << probe;
  }
  EXPECT_EQ(Up(exporter, silent.Address(), "v3"), 0);
  EXPECT_EQ(silent.Received(), 2);
  const std::string metrics = Body(exporter, "/metrics");
  EXPECT_EQ(Sample(metrics, "t740_exporter_snmp_requests_total"), 6);
  EXPECT_EQ(Sample(metrics, "t740_exporter_snmp_timeouts_total"), 3);
}

}  // namespace
}  // namespace t740::test
