#include "sim/agent/lossy_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <queue>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace t740::sim {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kDatagramMaximum = 65535;
// Where the relay speaks to the agent from.
constexpr char kUpstreamAddress[] = "127.0.0.1";
// A bound on the managers the relay keeps a way back to; the one heard from
// least recently is forgotten first.
constexpr size_t kClientsMaximum = 64;

sockaddr_in At(const std::string& ip, uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (inet_pton(AF_INET, ip.c_str(), &address.sin_addr) != 1) {
    throw std::runtime_error("'" + ip + "' is no IPv4 address");
  }
  return address;
}

int BoundSocket(const std::string& ip, uint16_t port) {
  const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (socket < 0) throw std::runtime_error("cannot make a socket for the lossy link");
  const sockaddr_in address = At(ip, port);
  if (bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close(socket);
    throw std::runtime_error("cannot listen on " + ip + ":" + std::to_string(port));
  }
  return socket;
}

uint16_t PortOf(int socket) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

struct ClientOrder {
  bool operator()(const sockaddr_in& a, const sockaddr_in& b) const {
    if (a.sin_addr.s_addr != b.sin_addr.s_addr) return a.sin_addr.s_addr < b.sin_addr.s_addr;
    return a.sin_port < b.sin_port;
  }
};

// The socket that speaks to the agent for one manager, closed when the
// last holder lets it go.
class Upstream {
 public:
  Upstream() : socket_(BoundSocket(kUpstreamAddress, 0)) {}
  ~Upstream() { close(socket_); }
  Upstream(const Upstream&) = delete;
  Upstream& operator=(const Upstream&) = delete;
  int Socket() const { return socket_; }

  uint64_t lastUsed = 0;

 private:
  const int socket_;
};

struct Datagram {
  Clock::time_point due;
  bool answer;  // an answer leaves by the listening socket, a request by its upstream
  // Held weakly: a request queued on an evicted upstream is dropped, never
  // sent from a descriptor reused since.
  std::weak_ptr<Upstream> upstream;
  sockaddr_in to;
  std::string bytes;
  bool operator>(const Datagram& other) const { return due > other.due; }
};

}  // namespace

bool LinkFaults::Any() const {
  return loseRequestsPercent || loseAnswersPercent || duplicatePercent || delayMilliseconds ||
         jitterMilliseconds || (stallEvery && stallMilliseconds);
}

struct LossyLink::Relay {
  Relay(const LinkFaults& faults, const std::string& ip, uint16_t port, uint16_t agentPort)
      : faults(faults),
        agent(At(ip, agentPort)),
        random(faults.seed),
        listening(BoundSocket(ip, port)) {
    if (pipe2(stop, O_CLOEXEC | O_NONBLOCK) != 0) {
      close(listening);
      throw std::runtime_error("cannot make the lossy link's stop pipe");
    }
  }
  ~Relay() {
    close(listening);
    close(stop[0]);
    close(stop[1]);
  }

  bool Chance(int percent) {
    return percent > 0 && std::uniform_int_distribution<int>(1, 100)(random) <= percent;
  }
  bool Stalled() const { return Clock::now() < stalledUntil; }

  void EvictLeastRecentlyUsed() {
    auto oldest = upstreams.begin();
    for (auto it = upstreams.begin(); it != upstreams.end(); ++it) {
      if (it->second->lastUsed < oldest->second->lastUsed) oldest = it;
    }
    upstreams.erase(oldest);
  }

  // The socket that speaks to the agent for this manager, so that its
  // answers find their way back.
  std::shared_ptr<Upstream> UpstreamFor(const sockaddr_in& client) {
    auto found = upstreams.find(client);
    if (found == upstreams.end()) {
      if (upstreams.size() >= kClientsMaximum) EvictLeastRecentlyUsed();
      found = upstreams.emplace(client, std::make_shared<Upstream>()).first;
    }
    found->second->lastUsed = ++uses;
    return found->second;
  }

  void ScheduleRequest(const std::shared_ptr<Upstream>& upstream, std::string bytes) {
    queue.push({Clock::now(), false, upstream, agent, std::move(bytes)});
  }

  void ScheduleAnswer(const sockaddr_in& client, std::string bytes, int delay) {
    queue.push(
        {Clock::now() + std::chrono::milliseconds(delay), true, {}, client, std::move(bytes)});
  }

  void Request(const sockaddr_in& client, std::string bytes) {
    if (Stalled() || Chance(faults.loseRequestsPercent)) return;
    ++requests;
    if (faults.stallEvery > 0 && requests % faults.stallEvery == 0) {
      stalledUntil = Clock::now() + std::chrono::milliseconds(faults.stallMilliseconds);
    }
    const std::shared_ptr<Upstream> upstream = UpstreamFor(client);
    if (Chance(faults.duplicatePercent)) ScheduleRequest(upstream, bytes);
    ScheduleRequest(upstream, std::move(bytes));
  }

  void Answer(const sockaddr_in& client, std::string bytes) {
    if (Stalled() || Chance(faults.loseAnswersPercent)) return;
    const int jitter = faults.jitterMilliseconds > 0 ? std::uniform_int_distribution<int>(
                                                           0, faults.jitterMilliseconds)(random)
                                                     : 0;
    ScheduleAnswer(client, std::move(bytes), faults.delayMilliseconds + jitter);
  }

  // The socket a datagram leaves by, -1 when its upstream was evicted.
  int SocketFor(const Datagram& datagram) const {
    if (datagram.answer) return listening;
    const std::shared_ptr<Upstream> upstream = datagram.upstream.lock();
    return upstream ? upstream->Socket() : -1;
  }

  void SendDue() {
    while (!queue.empty() && queue.top().due <= Clock::now()) {
      const Datagram& datagram = queue.top();
      const int socket = SocketFor(datagram);
      if (socket >= 0) {
        sendto(socket, datagram.bytes.data(), datagram.bytes.size(), 0,
               reinterpret_cast<const sockaddr*>(&datagram.to), sizeof datagram.to);
      }
      queue.pop();
    }
  }

  int PollTimeout() const {
    if (queue.empty()) return -1;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(queue.top().due - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count()) + 1;
  }

  // Every datagram waiting on `socket`, with where it came from.
  template <typename Take>
  void Drain(int socket, Take take) {
    std::string buffer(kDatagramMaximum, '\0');
    for (;;) {
      sockaddr_in from{};
      socklen_t length = sizeof from;
      const ssize_t got = recvfrom(socket, buffer.data(), buffer.size(), 0,
                                   reinterpret_cast<sockaddr*>(&from), &length);
      if (got < 0) return;
      take(from, buffer.substr(0, static_cast<size_t>(got)));
    }
  }

  void Run() {
    for (;;) {
      std::vector<pollfd> watched = {{stop[0], POLLIN, 0}, {listening, POLLIN, 0}};
      // Held for the round, so that an upstream evicted meanwhile keeps its
      // descriptor until its answers are drained.
      std::vector<std::pair<sockaddr_in, std::shared_ptr<Upstream>>> clients;
      for (const auto& [client, upstream] : upstreams) {
        watched.push_back({upstream->Socket(), POLLIN, 0});
        clients.emplace_back(client, upstream);
      }
      poll(watched.data(), watched.size(), PollTimeout());
      if (watched[0].revents) return;
      if (watched[1].revents) {
        Drain(listening,
              [&](const sockaddr_in& from, std::string bytes) { Request(from, std::move(bytes)); });
      }
      for (size_t i = 2; i < watched.size(); ++i) {
        if (!watched[i].revents) continue;
        const sockaddr_in client = clients[i - 2].first;
        Drain(watched[i].fd,
              [&](const sockaddr_in&, std::string bytes) { Answer(client, std::move(bytes)); });
      }
      SendDue();
    }
  }

  const LinkFaults faults;
  const sockaddr_in agent;
  std::mt19937 random;
  int listening;
  int stop[2] = {-1, -1};
  std::map<sockaddr_in, std::shared_ptr<Upstream>, ClientOrder> upstreams;
  uint64_t uses = 0;  // counts requests, to find the least recently used upstream
  std::priority_queue<Datagram, std::vector<Datagram>, std::greater<Datagram>> queue;
  long requests = 0;
  Clock::time_point stalledUntil;
};

LossyLink::LossyLink(const LinkFaults& faults, const std::string& ip, uint16_t port,
                     uint16_t agentPort)
    : relay_(std::make_unique<Relay>(faults, ip, port, agentPort)),
      thread_([relay = relay_.get()] { relay->Run(); }) {}

LossyLink::~LossyLink() {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(relay_->stop[1], &byte, 1);
  thread_.join();
}

uint16_t LossyLink::Port() const {
  return PortOf(relay_->listening);
}

}  // namespace t740::sim
