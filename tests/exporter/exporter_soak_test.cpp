// Soak of t740-exporter: continuous probes of a simulated network of 4
// agents × 5 cards behind t740-sim's lossy link (lost requests and answers,
// duplicates, delay and jitter), with SIGHUP reloads in between, one of a
// broken configuration that must be refused while the probes go on. Every
// answer is within the scrape time-out and is either the card's documented
// alarms under t740_up 1 or t740_up 0 with no alarms at all; the
// exporter's memory at the start and the end is printed.
//
// T740_EXPORTER_SOAK_SECONDS sets the run's length (default 3),
// T740_EXPORTER_SOAK_SEED repeats a printed seed.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "exporter_process.h"
#include "sim/card_profile.h"

namespace t740::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kAgents = 4;
const char* const kCards[] = {"0101", "0102", "0103", "0104", "0105"};
constexpr int kClients = 4;
constexpr char kScrapeTimeout[] = "2";
constexpr auto kScrapeBound = std::chrono::seconds(2);
const char* const kPorts[] = {"A", "B", "C", "D"};
const char* const kAlarms[] = {"RS-TIM", "STM-LOS", "STM-LOF", "RS-OOF"};

// Configurations the reloads take turns with; each names the auth the probes
// use, with tries that fit the scrape time-out. The broken one misspells a key.
const char* const kConfigurations[] = {
    "timeout: 400ms\nretries: 2\nauths:\n  soak:\n    community: public\n",
    "timeout: 300ms\nretries: 3\nauths:\n  soak:\n    community: public\n",
    "timeout: 300ms\nauths:\n  soak:\n    comunity: public\n",
};
constexpr int kBrokenConfiguration = 2;

unsigned Seed() {
  if (const char* seed = std::getenv("T740_EXPORTER_SOAK_SEED")) {
    return static_cast<unsigned>(std::stoul(seed));
  }
  return std::random_device{}() % 1000000;
}

std::chrono::seconds Budget() {
  const char* seconds = std::getenv("T740_EXPORTER_SOAK_SECONDS");
  return std::chrono::seconds(seconds ? std::stoi(seconds) : 3);
}

std::string AgentAddress(int agent) {
  return "127.0.0." + std::to_string(agent + 1);
}

// The alarms t740-sim documents for a card, as "port alarm": the first
// agent's first card has the lone card's faults; of the others' profiles a
// pulled fibre raises loss of signal on its port, and a wrong far-end trace
// or a loopback inside the card (the port hears its own trace) RS-TIM.
std::set<std::string> DocumentedAlarms(int agent, const std::string& card) {
  if (agent == 0 && card == kCards[0]) return {"B STM-LOS", "C RS-TIM"};
  const sim::CardCondition condition = sim::ConditionOfCard(AgentAddress(agent), card);
  const std::string port = kPorts[condition.port];
  if (condition.profile == sim::CardProfile::FibrePulled) return {port + " STM-LOS"};
  if (condition.profile == sim::CardProfile::WrongTrace ||
      condition.profile == sim::CardProfile::InsideLoopback) {
    return {port + " RS-TIM"};
  }
  return {};
}

long RssKilobytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

struct Tally {
  std::atomic<int> up{0};
  std::atomic<int> down{0};
  std::atomic<long> longestMilliseconds{0};
};

// One probe of a card: what its answer must be, checked.
void ProbeAndCheck(const ExporterProcess& exporter, const SimAgent& agent, int agentIndex,
                   const std::string& card, Tally& tally) {
  const std::string where = AgentAddress(agentIndex) + " " + card;
  httplib::Client client("127.0.0.1", exporter.Port());
  client.set_read_timeout(10, 0);
  const std::string path = "/probe?target=" + AgentAddress(agentIndex) + ":" +
                           std::to_string(agent.Port()) + "&card=" + card + "&auth=soak";
  const auto start = Clock::now();
  const auto answer =
      client.Get(path.c_str(), {{"X-Prometheus-Scrape-Timeout-Seconds", kScrapeTimeout}});
  const auto took = Clock::now() - start;
  ASSERT_TRUE(answer) << where;
  ASSERT_EQ(answer->status, 200) << where << ": " << answer->body;
  EXPECT_LT(took, kScrapeBound) << where;
  const long milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
  for (long longest = tally.longestMilliseconds;
       milliseconds > longest &&
       !tally.longestMilliseconds.compare_exchange_weak(longest, milliseconds);) {
  }
  const std::string& body = answer->body;
  const double up = Sample(body, "t740_up");
  if (up == 0) {
    ++tally.down;
    EXPECT_EQ(body.find("t740_alarm_active"), std::string::npos) << where << ": " << body;
    return;
  }
  ASSERT_EQ(up, 1) << where << ": " << body;
  ++tally.up;
  const std::set<std::string> expected = DocumentedAlarms(agentIndex, card);
  for (const char* port : kPorts) {
    for (const char* alarm : kAlarms) {
      const std::string name = std::string(port) + " " + alarm;
      EXPECT_EQ(Sample(body, std::string("t740_alarm_active{port=\"") + port + "\",alarm=\"" +
                                 alarm + "\"}"),
                expected.count(name) ? 1 : 0)
          << where << " " << name;
    }
  }
  EXPECT_EQ(Sample(body, "t740_performance_decode_errors"), 0) << where;
}

TEST(ExporterSoakTest, ProbesOfALossyNetworkStayRightThroughReloads) {
  const unsigned seed = Seed();
  std::cout << "exporter soak seed " << seed << " (T740_EXPORTER_SOAK_SEED repeats it)"
            << std::endl;
  SCOPED_TRACE("T740_EXPORTER_SOAK_SEED=" + std::to_string(seed));
  SimAgent agent({"--agents", std::to_string(kAgents), "--cards", "0101-0105", "--lose-requests",
                  "10", "--lose-answers", "10", "--duplicate", "10", "--delay", "5", "--jitter",
                  "40", "--fault-seed", std::to_string(seed)});
  ASSERT_NE(agent.Port(), 0);
  const ConfigFile config(kConfigurations[0]);
  ExporterProcess exporter({"--config.file", config.Path()});
  ASSERT_NE(exporter.Port(), 0);

  Tally tally;
  std::atomic<bool> ending{false};
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&, clientSeed = seed + static_cast<unsigned>(i)] {
      std::mt19937 random(clientSeed);
      std::uniform_int_distribution<int> agentIndex(0, kAgents - 1);
      std::uniform_int_distribution<size_t> card(0, std::size(kCards) - 1);
      while (!ending && !::testing::Test::HasFailure()) {
        ProbeAndCheck(exporter, agent, agentIndex(random), kCards[card(random)], tally);
      }
    });
  }
  // Memory once every thread has done its first probes.
  while (tally.up + tally.down < 2 * kClients && !::testing::Test::HasFailure()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const long rssStart = RssKilobytes(exporter.Pid());

  std::mt19937 random(seed);
  const auto start = Clock::now();
  int reloads = 0;
  int refused = 0;
  while ((reloads < 3 || Clock::now() - start < Budget()) && !::testing::Test::HasFailure()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int chosen = reloads < 3 ? reloads : std::uniform_int_distribution<int>(0, 2)(random);
    config.Write(kConfigurations[chosen]);
    exporter.Signal(SIGHUP);
    ++reloads;
    for (int wait = 0;
         wait < 100 && Count(exporter.Log(), "trigger=SIGHUP") < static_cast<size_t>(reloads);
         ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(Count(exporter.Log(), "trigger=SIGHUP"), static_cast<size_t>(reloads));
    refused += chosen == kBrokenConfiguration;
    EXPECT_EQ(Count(exporter.Log(), "the old one stays"), static_cast<size_t>(refused));
  }
  ending = true;
  for (std::thread& client : clients) client.join();
  const long rssEnd = RssKilobytes(exporter.Pid());
  EXPECT_GT(tally.up, 0);
  EXPECT_EQ(exporter.Stop(), 0) << exporter.Log();
  std::cout << tally.up + tally.down << " probes (" << tally.down << " t740_up 0), " << reloads
            << " reloads (" << refused << " refused); longest probe " << tally.longestMilliseconds
            << " ms of a scrape time-out of " << kScrapeTimeout << " s; exporter RSS " << rssStart
            << " kB at the start, " << rssEnd << " kB at the end (" << rssEnd - rssStart << " kB)"
            << std::endl;
}

}  // namespace
}  // namespace t740::test
