// t740-exporter against clients that misbehave on 127.0.0.1: hundreds of
// idle connections, clients that trickle their request a byte at a time,
// oversized request lines and headers, too many header lines, and clients
// that hang up before the answer. Each is bounded, a well-behaved probe is
// answered meanwhile, and the exporter serves on.
#include <gtest/gtest.h>
#include <httplib.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
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
  int Socket() const { return socket_; }
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

// A TLS connection made with OpenSSL itself, so that a request can trickle
// in a byte at a time.
class TlsConnection {
 public:
  explicit TlsConnection(int port)
      : plain_(port), context_(SSL_CTX_new(TLS_client_method())), ssl_(SSL_new(context_)) {
    SSL_set_fd(ssl_, plain_.Socket());
    handshaken_ = plain_.Connected() && SSL_connect(ssl_) == 1;
    fcntl(plain_.Socket(), F_SETFL, fcntl(plain_.Socket(), F_GETFL) | O_NONBLOCK);
  }
  ~TlsConnection() {
    SSL_free(ssl_);
    SSL_CTX_free(context_);
  }
  TlsConnection(const TlsConnection&) = delete;
  TlsConnection& operator=(const TlsConnection&) = delete;

  bool Handshaken() const { return handshaken_; }
  // Session tickets that follow the handshake make the socket readable
  // too: only an answer or the connection's end counts.
  bool Ended() const {
    char byte;
    while (plain_.Ended()) {
      const int got = SSL_peek(ssl_, &byte, 1);
      if (got > 0 || SSL_get_error(ssl_, got) != SSL_ERROR_WANT_READ) return true;
    }
    return false;
  }
  bool Send(const std::string& bytes) const {
    return SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size())) ==
           static_cast<int>(bytes.size());
  }

 private:
  Connection plain_;
  SSL_CTX* context_;
  SSL* ssl_;
  bool handshaken_ = false;
};

// Sends a request a byte at a time for longer than the exporter allows a
// whole request; whether the exporter cut the client off.
template <class Client>
bool CutOffWhileTrickling(const Client& client) {
  const std::string request = "GET /metrics HTTP/1.1\r\nX-Slow: ";
  for (size_t sent = 0; sent < kSlowBytes; ++sent) {
    if (client.Ended() || !client.Send(sent < request.size() ? request.substr(sent, 1) : "a")) {
      break;
    }
    std::this_thread::sleep_for(kSlowPace);
  }
  return client.Ended();
}

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
      cutOff += CutOffWhileTrickling(client);
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

TEST(HostileClientsTest, OverTlsTheHandshakeAndTheRequestKeepTheirDeadline) {
  // A write to a connection the exporter has closed must fail, not end the
  // test: OpenSSL writes with write().
  signal(SIGPIPE, SIG_IGN);
  SimAgent agent;
  ScratchDirectory scratch;
  const std::string web = WriteTlsWebConfig(scratch.Path());
  ASSERT_NE(web, "");
  ExporterProcess exporter({"--web.config.file", web});
  ASSERT_NE(exporter.Port(), 0);
  const Connection silent(exporter.Port());
  const TlsConnection slow(exporter.Port());
  ASSERT_TRUE(slow.Handshaken());
  std::thread trickle([&] { EXPECT_TRUE(CutOffWhileTrickling(slow)); });

  httplib::SSLClient client("127.0.0.1", exporter.Port());
  client.enable_server_certificate_verification(false);
  const auto answer = client.Get(("/probe?target=" + agent.Address() + "&card=0107").c_str());
  ASSERT_TRUE(answer);
  EXPECT_EQ(Sample(answer->body, "t740_up"), 1);
  trickle.join();
  EXPECT_TRUE(silent.Ended(std::chrono::seconds(1)))
      << "a client that never says hello holds its connection";
  EXPECT_EQ(exporter.Stop(), 0) << exporter.Log();
}

std::string MetricsOf(const ExporterProcess& exporter) {
  httplib::Client client("127.0.0.1", exporter.Port());
  const auto metrics = client.Get("/metrics");
  return metrics ? metrics->body : "";
}

// On a slow machine idle connections may reach their request deadline
// before the last is open: those the exporter closed are opened again
// until every place is taken and the extra connection is refused.
TEST(HostileClientsTest, ConnectionsBeyondTheLimitAreRefusedAtOnce) {
  SimAgent agent;
  ExporterProcess exporter({});
  ASSERT_NE(exporter.Port(), 0);
  auto idle = OpenIdle(exporter.Port(), kConnectionsMaximum);
  int refusals = 0;
  for (int attempt = 0; attempt < 20 && refusals == 0; ++attempt) {
    for (auto& connection : idle) {
      if (connection->Ended()) connection = std::make_unique<Connection>(exporter.Port());
    }
    Connection extra(exporter.Port());
    extra.Send("GET /metrics HTTP/1.1\r\n\r\n");
    refusals += StatusLine(extra.Answer()) == "HTTP/1.1 503 Service Unavailable";
  }
  EXPECT_EQ(refusals, 1);
  idle.clear();
  // The places free as the exporter sees the idle ones go.
  bool answered = false;
  for (int attempt = 0; attempt < 50 && !answered; ++attempt) {
    answered = ProbeAnswered(exporter, agent);
    if (!answered) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(answered);
  const std::string metrics = MetricsOf(exporter);
  EXPECT_EQ(Sample(metrics, "t740_exporter_http_connections_refused_total"), refusals);
  EXPECT_GE(Sample(metrics, "t740_exporter_http_connections_open"), 1);
  EXPECT_EQ(exporter.Stop(), 0) << exporter.Log();
}

// How many answers a connection got before the exporter closed it.
int AnswersOn(const Connection& connection) {
  const std::string answers = connection.Answer();
  int count = 0;
  for (size_t at = answers.find("HTTP/1.1 "); at != std::string::npos;
       at = answers.find("HTTP/1.1 ", at + 1)) {
    ++count;
  }
  return count;
}

TEST(HostileClientsTest, NoBodyIsTakenForARequestAndTheHeadsBoundsHold) {
  ExporterProcess exporter({});
  ASSERT_NE(exporter.Port(), 0);
  const std::string last = "GET /metrics HTTP/1.1\r\nConnection: close\r\n\r\n";
  const std::string reload = "POST /-/reload HTTP/1.1\r\nContent-Length: 0\r\n\r\n";
  Connection smuggler(exporter.Port());
  smuggler.Send("GET /metrics HTTP/1.1\r\nContent-Length: " + std::to_string(reload.size()) +
                "\r\n\r\n" + reload + last);
  EXPECT_EQ(AnswersOn(smuggler), 2);

  Connection bodyless(exporter.Port());
  bodyless.Send("POST /-/reload HTTP/1.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(StatusLine(bodyless.Answer()), "HTTP/1.1 200 OK");
  const std::string log = exporter.Log();
  EXPECT_EQ(log.find("configuration reloaded"), log.rfind("configuration reloaded"))
      << "the smuggled reload ran: " << log;

  std::string crowded = "GET /metrics HTTP/1.1\r\nConnection: close\r\n";
  for (int i = 1; i < kHeadersMaximum; ++i) crowded += "X-" + std::to_string(i) + ": 1\r\n";
  Connection full(exporter.Port());
  full.Send(crowded + "\r\n");
  EXPECT_EQ(StatusLine(full.Answer()), "HTTP/1.1 200 OK");

  // Refused by the library before its routes: the connection ends there.
  Connection longLine(exporter.Port());
  longLine.Send("GET /" + std::string(9000, 'a') + " HTTP/1.1\r\n\r\n" + last);
  EXPECT_EQ(AnswersOn(longLine), 1);

  Connection large(exporter.Port());
  large.Send("GET /metrics HTTP/1.1\r\nContent-Length: 70000\r\n\r\n");
  EXPECT_EQ(StatusLine(large.Answer()), "HTTP/1.1 413 Payload Too Large");
  EXPECT_EQ(exporter.Stop(), 0) << exporter.Log();
}

TEST(HostileClientsTest, APortAlreadyServedStopsTheStart) {
  ExporterProcess first({});
  ASSERT_NE(first.Port(), 0);
  ScratchDirectory scratch;
  const pid_t second = Spawn(ExporterPath(),
                             {"--web.listen-address", "127.0.0.1:" + std::to_string(first.Port()),
                              "--plugin", PluginPath()},
                             scratch.Path(), nullptr);
  int status = 0;
  pid_t ended = 0;
  for (int wait = 0; wait < 100 && ended == 0; ++wait) {
    ended = waitpid(second, &status, WNOHANG);
    if (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (ended == 0) {
    kill(second, SIGKILL);
    waitpid(second, &status, 0);
  }
  EXPECT_NE(ended, 0) << "a second exporter serves the first one's port";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  EXPECT_EQ(first.Stop(), 0) << first.Log();
}

}  // namespace
}  // namespace t740::test
