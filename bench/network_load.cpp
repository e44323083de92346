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
#include "snmp_packets.h"

namespace {

using Clock = std::chrono::steady_clock;
using t740::bench::AgentIp;
using t740::bench::AnsweredWithTexts;
using t740::bench::Bytes;
using t740::bench::StatusRequest;

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
    const sockaddr_in address = t740::bench::Address(AgentIp(agent), sim.Port());
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
