// t740-exporter against clients that misbehave on 127.0.0.1: hundreds of
// idle connections, clients that trickle their request a byte at a time,
// oversized request lines and headers, too many header lines, and clients
// that hang up before the answer. Each is bounded, a well-behaved probe is
// answered meanwhile, and the exporter serves on.
#include <gtest/gtest.h>
#include <httplib.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "exporter_process.h"

namespace t740::test {
namespace {

constexpr int kIdle = 300;
constexpr int kSlow = 6;
constexpr int kHangUps = 20;
// The exporter's documented limits.
constexpr int kConnectionsMaximum = 512;
constexpr int kHeadersMaximum = 100;
// Longer than the exporter's 5 s for a whole request: a slow client still
// sending when this runs out was never cut off.
constexpr int kSlowBytes = 80;
constexpr auto kSlowPace = std::chrono::milliseconds(100);

// A plain TCP connection to the exporter.
class Connection {
 public:
  explicit Connection(int port) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Connection() { close(socket_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool Connected() const { return connected_; }
  bool Send(const std::string& bytes) const {
    return send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
  }
  // Whether the exporter has answered or hung up, waiting at most `wait`.
  bool Ended(std::chrono::milliseconds wait = std::chrono::milliseconds(0)) const {
    pollfd watched{socket_, POLLIN, 0};
    return poll(&watched, 1, static_cast<int>(wait.count())) > 0;
  }
  // What the exporter sent until it hung up, waiting 10 s at most.
  std::string Answer() const {
    std::string text;
    char buffer[4096];
    while (Ended(std::chrono::seconds(10))) {
      const ssize_t got = recv(socket_, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      text.append(buffer, static_cast<size_t>(got));
    }
    return text;
  }
  // Hangs up with a reset, leaving any answer unread.
  void Reset() const {
    const linger now{1, 0};
    setsockopt(socket_, SOL_SOCKET, SO_LINGER, &now, sizeof now);
    shutdown(socket_, SHUT_RDWR);
  }

 private:
  int socket_;
  bool connected_ = false;
};

std::vector<std::unique_ptr<Connection>> OpenIdle(int port, int count) {
  std::vector<std::unique_ptr<Connection>> idle;
  for (int i = 0; i < count; ++i) {
    idle.push_back(std::make_unique<Connection>(port));
    EXPECT_TRUE(idle.back()->Connected()) << "connection " << i;
  }
  return idle;
}

std::string StatusLine(const std::string& answer) {
  return answer.substr(0, answer.find("\r\n"));
}

bool ProbeAnswered(const ExporterProcess& exporter, const SimAgent& agent) {
  httplib::Client client("127.0.0.1", exporter.Port());
  client.set_read_timeout(10, 0);
  const auto answer = client.Get(("/probe?target=" + agent.Address() + "&card=0107").c_str());
  return answer && answer->status == 200 && Sample(answer->body, "t740_up") == 1;
}

TEST(HostileClientsTest, AProbeIsAnsweredWhileHostileClientsAreAtWork) {
  SimAgent agent;
  ExporterProcess exporter({});
  ASSERT_NE(exporter.Port(), 0);
  const auto idle = OpenIdle(exporter.Port(), kIdle);

  std::atomic<int> cutOff{0};
  std::vector<std::thread> slow;
  for (int i = 0; i < kSlow; ++i) {
    slow.emplace_back([&] {
      Connection client(exporter.Port());
      const std::string request = "GET /metrics HTTP/1.1\r\nX-Slow: ";
      for (size_t sent = 0; sent < kSlowBytes; ++sent) {
        if (client.Ended() || !client.Send(sent < request.size() ? request.substr(sent, 1) : "a"))
          break;
        std::this_thread::sleep_for(kSlowPace);
      }
      cutOff += client.Ended();
    });
  }
  for (int i = 0; i < kHangUps; ++i) {
    Connection client(exporter.Port());
    client.Send("GET /probe?target=" + agent.Address() + "&card=0107 HTTP/1.1\r\n\r\n");
    client.Reset();
  }
  EXPECT_TRUE(ProbeAnswered(exporter, agent));

  const std::pair<std::string, std::string> oversized[] = {
      {"GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n", ""},
      {"GET / HTTP/1.1\r\nX-Big: " + std::string(20000, 'b') + "\r\n\r\n",
       "HTTP/1.1 400 Bad Request"},
  };
  for (const auto& [request, status] : oversized) {
    Connection client(exporter.Port());
    client.Send(request);
    EXPECT_EQ(StatusLine(client.Answer()), status) << request.substr(0, 40);
  }
  std::string many = "GET /metrics HTTP/1.1\r\n";
  for (int i = 0; i <= kHeadersMaximum; ++i) many += "X-" + std::to_string(i) + ": 1\r\n";
  Connection crowded(exporter.Port());
  crowded.Send(many + "\r\n");
  EXPECT_EQ(StatusLine(crowded.Answer()), "HTTP/1.1 431 Request Header Fields Too Large");

  for (std::thread& client : slow) client.join();
  EXPECT_EQ(cutOff, kSlow);
  EXPECT_TRUE(ProbeAnswered(exporter, agent));
  EXPECT_EQ(exporter.Stop(), 0) << exporter.Log();
}

TEST(HostileClientsTest, ConnectionsBeyondTheLimitAreRefusedAtOnce) {
  SimAgent agent;
  ExporterProcess exporter({});
  ASSERT_NE(exporter.Port(), 0);
  auto idle = OpenIdle(exporter.Port(), kConnectionsMaximum);
  Connection extra(exporter.Port());
  extra.Send("GET /metrics HTTP/1.1\r\n\r\n");
  EXPECT_EQ(StatusLine(extra.Answer()), "HTTP/1.1 503 Service Unavailable");
  idle.clear();
  // The places free as the exporter sees the idle ones go.
  bool answered = false;
  for (int attempt = 0; attempt < 50 && !answered; ++attempt) {
    answered = ProbeAnswered(exporter, agent);
    if (!answered) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(answered);
  httplib::Client client("127.0.0.1", exporter.Port());
  const auto metrics = client.Get("/metrics");
  ASSERT_TRUE(metrics);
  EXPECT_EQ(Sample(metrics->body, "t740_exporter_http_connections_refused_total"), 1);
  EXPECT_EQ(exporter.Stop(), 0) << exporter.Log();
}

}  // namespace
}  // namespace t740::test
