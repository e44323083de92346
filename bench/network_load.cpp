// A simulated network under load: t740-sim with 50 agents of 20 cards
// each, timed from its start until every agent answers, its resident
// memory, and the GET requests the whole process answers per second with
// several clients in flight, each request carrying the three status texts
// of one card (raw SNMPv2c packets built once, over UDP on loopback).
//
//   network_load [--agents N] [--cards LIST] [--clients N] [--window N] [--seconds N]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "sim_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

struct Settings {
  int agents = 50;
  int firstCard = 101;
  int cards = 20;
  int clients = 4;
  int window = 16;  // requests in flight per client
  int seconds = 5;
};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "network_load: %s\n", what.c_str());
  std::exit(1);
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

Bytes Tlv(uint8_t tag, const Bytes& value) {
  Bytes out{tag};
  if (value.size() < 0x80) {
    out.push_back(static_cast<uint8_t>(value.size()));
  } else {
    out.push_back(0x82);
    out.push_back(static_cast<uint8_t>(value.size() >> 8));
    out.push_back(static_cast<uint8_t>(value.size()));
  }
  out.insert(out.end(), value.begin(), value.end());
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Oid(const std::vector<uint32_t>& arcs) {
  Bytes body{static_cast<uint8_t>(arcs[0] * 40 + arcs[1])};
  for (size_t i = 2; i < arcs.size(); ++i) {
    Bytes arc;
    for (uint32_t v = arcs[i];; v >>= 7) {
      arc.insert(arc.begin(), static_cast<uint8_t>((v & 0x7F) | (arc.empty() ? 0 : 0x80)));
      if (v < 0x80) break;
    }
    body.insert(body.end(), arc.begin(), arc.end());
  }
  return Tlv(0x06, body);
}

// GET of the three status texts of card `card` (e.g. 103: arcs 1 and 3).
Bytes StatusRequest(int card, uint32_t requestId) {
  Bytes bindings;
  for (uint32_t text = 1; text <= 3; ++text) {
    const Bytes name = Oid({1, 3, 6, 1, 4, 1, 47291, 2, 1, 1, 86, static_cast<uint32_t>(card / 100),
                            static_cast<uint32_t>(card % 100), text});
    bindings = Join({bindings, Tlv(0x30, Join({name, Bytes{0x05, 0x00}}))});
  }
  const Bytes id = {0x02,
                    0x04,
                    static_cast<uint8_t>(requestId >> 24),
                    static_cast<uint8_t>(requestId >> 16),
                    static_cast<uint8_t>(requestId >> 8),
                    static_cast<uint8_t>(requestId)};
  const Bytes pdu =
      Tlv(0xA0, Join({id, Bytes{0x02, 0x01, 0x00, 0x02, 0x01, 0x00}, Tlv(0x30, bindings)}));
  return Tlv(0x30,
             Join({Bytes{0x02, 0x01, 0x01}, Tlv(0x04, Bytes{'p', 'u', 'b', 'l', 'i', 'c'}), pdu}));
}

// A header's content length at `at` (just past the tag); moves `at` past it.
size_t Length(const uint8_t* data, size_t size, size_t& at) {
  if (at >= size) return SIZE_MAX;
  const uint8_t first = data[at++];
  if (first < 0x80) return first;
  size_t length = 0;
  for (int i = 0; i < (first & 0x7F); ++i) {
    if (at >= size) return SIZE_MAX;
    length = length << 8 | data[at++];
  }
  return length;
}

// A response with error status 0 and three OCTET STRING values.
bool AnsweredWithTexts(const uint8_t* data, size_t size) {
  size_t at = 0;
  auto enter = [&](uint8_t tag) {
    if (at >= size || data[at++] != tag) return false;
    return Length(data, size, at) != SIZE_MAX;
  };
  auto skip = [&](uint8_t tag) {
    if (at >= size || data[at++] != tag) return false;
    const size_t length = Length(data, size, at);
    if (length == SIZE_MAX) return false;
    at += length;
    return at <= size;
  };
  if (!enter(0x30) || !skip(0x02) || !skip(0x04) || !enter(0xA2) || !skip(0x02)) return false;
  if (at + 3 > size || data[at] != 0x02 || data[at + 1] != 0x01 || data[at + 2] != 0) return false;
  at += 3;
  if (!skip(0x02) || !enter(0x30)) return false;
  for (int i = 0; i < 3; ++i) {
    if (!enter(0x30) || !skip(0x06) || !skip(0x04)) return false;
  }
  return true;
}

sockaddr_in Address(const std::string& ip, uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
  return address;
}

std::string AgentIp(int index) {
  const uint32_t host = 0x7F000001u + static_cast<uint32_t>(index);
  return std::to_string(host >> 24) + "." + std::to_string(host >> 16 & 0xFF) + "." +
         std::to_string(host >> 8 & 0xFF) + "." + std::to_string(host & 0xFF);
}

// t740-sim serving the network, with its memory.
class Simulator {
 public:
  explicit Simulator(const Settings& settings)
      : sim_("network_load", {"--agents", std::to_string(settings.agents), "--cards",
                              "0" + std::to_string(settings.firstCard) + "-0" +
                                  std::to_string(settings.firstCard + settings.cards - 1)}) {}
  uint16_t Port() const { return sim_.Port(); }
  // "VmRSS" or "VmHWM" in MB.
  double Memory(const std::string& field) const {
    std::ifstream status("/proc/" + std::to_string(sim_.Pid()) + "/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind(field + ":", 0) == 0) return std::atof(line.c_str() + field.size() + 1) / 1024;
    }
    return 0;
  }

 private:
  t740::bench::SimProcess sim_;
};

int UdpSocket() {
  const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (socket < 0) Fail("socket");
  timeval timeout{0, 200000};
  setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  return socket;
}

// One request at a time to each target, until each has answered.
void AnswerEach(const std::vector<std::pair<sockaddr_in, Bytes>>& targets) {
  const int socket = UdpSocket();
  uint8_t buffer[65536];
  for (const auto& [address, request] : targets) {
    for (int tries = 0;; ++tries) {
      if (tries == 50) Fail("an agent does not answer");
      sendto(socket, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&address),
             sizeof address);
      const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
      if (got > 0 && AnsweredWithTexts(buffer, static_cast<size_t>(got))) break;
    }
  }
  close(socket);
}

// Keeps `window` requests in flight until the time is up; counts answers.
void Client(const std::vector<std::pair<sockaddr_in, Bytes>>& targets, size_t first, int window,
            Clock::time_point end, std::atomic<long>& answered, std::atomic<long>& wrong) {
  const int socket = UdpSocket();
  uint8_t buffer[65536];
  size_t next = first;
  auto send = [&] {
    const auto& [address, request] = targets[next++ % targets.size()];
    sendto(socket, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&address),
           sizeof address);
  };
  for (int i = 0; i < window; ++i) send();
  while (Clock::now() < end) {
    const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
    if (got <= 0) {  // a lost answer: fill the window again
      for (int i = 0; i < window; ++i) send();
      continue;
    }
    (AnsweredWithTexts(buffer, static_cast<size_t>(got)) ? answered : wrong)++;
    send();
  }
  close(socket);
}

int Number(const char* text) {
  const int value = std::atoi(text);
  if (value <= 0) Fail(std::string("not a count: ") + text);
  return value;
}

Settings Parse(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--agents")
      settings.agents = Number(argv[i + 1]);
    else if (option == "--cards")
      settings.cards = Number(argv[i + 1]);
    else if (option == "--clients")
      settings.clients = Number(argv[i + 1]);
    else if (option == "--window")
      settings.window = Number(argv[i + 1]);
    else if (option == "--seconds")
      settings.seconds = Number(argv[i + 1]);
    else
      Fail("unknown option " + option);
  }
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = Parse(argc, argv);
  const Clock::time_point started = Clock::now();
  const Simulator sim(settings);
  std::vector<std::pair<sockaddr_in, Bytes>> firstCards, allCards;
  for (int agent = 0; agent < settings.agents; ++agent) {
    const sockaddr_in address = Address(AgentIp(agent), sim.Port());
    for (int card = 0; card < settings.cards; ++card) {
      const uint32_t id = static_cast<uint32_t>(agent * settings.cards + card + 1);
      allCards.emplace_back(address, StatusRequest(settings.firstCard + card, id));
    }
    firstCards.push_back(allCards.back());
  }
  AnswerEach(firstCards);
  const double startMs = MillisecondsSince(started);

  const Clock::time_point warm = Clock::now();
  AnswerEach(allCards);
  const double warmMs = MillisecondsSince(warm);

  std::atomic<long> answered{0}, wrong{0};
  const Clock::time_point loadStart = Clock::now();
  const Clock::time_point end = loadStart + std::chrono::seconds(settings.seconds);
  std::vector<std::thread> clients;
  for (int i = 0; i < settings.clients; ++i) {
    clients.emplace_back(Client, std::cref(allCards), allCards.size() * i / settings.clients,
                         settings.window, end, std::ref(answered), std::ref(wrong));
  }
  for (std::thread& client : clients) client.join();
  const double perSecond = answered.load() * 1000.0 / MillisecondsSince(loadStart);

  std::printf("network: %d agents x %d cards = %d cards, %d clients x %d in flight, %d s\n",
              settings.agents, settings.cards, settings.agents * settings.cards, settings.clients,
              settings.window, settings.seconds);
  std::printf("%-52s %10s %10s\n", "", "measured", "goal");
  std::printf("%-52s %7.0f ms %7s ms\n", "start until every agent answers", startMs, "<= 1000");
  std::printf("%-52s %7.0f ms\n", "first request to every card (counters catch up)", warmMs);
  std::printf("%-52s %7.1f MB %7s MB\n", "resident memory after the load", sim.Memory("VmRSS"),
              "<= 150");
  std::printf("%-52s %7.1f MB\n", "resident memory, peak", sim.Memory("VmHWM"));
  std::printf("%-52s %10.0f %10s\n", "GET of three status texts answered per second", perSecond,
              ">= 5000");
  if (wrong.load() > 0) std::printf("answers that were not three texts: %ld\n", wrong.load());
  return wrong.load() == 0 ? 0 : 1;
}
