// What the soaks share: the run's seed and time budget from the
// environment, random choices and random faults of the simulated card's
// transport, and what a fault does to the request it hits.
#ifndef T740_TESTS_SOAK_SOAK_FAULTS_H
#define T740_TESTS_SOAK_SOAK_FAULTS_H

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <random>
#include <string>

#include "sim/fault.h"

namespace t740::test {

// T740_SOAK_SEED repeats a run; T740_SOAK_SECONDS bounds it (default 20).
inline unsigned SeedFromEnvironment() {
  if (const char* seed = std::getenv("T740_SOAK_SEED")) {
    return static_cast<unsigned>(std::stoul(seed));
  }
  return std::random_device{}();
}

inline std::chrono::seconds BudgetFromEnvironment() {
  const char* seconds = std::getenv("T740_SOAK_SECONDS");
  return std::chrono::seconds(seconds ? std::stoi(seconds) : 20);
}

class SoakRandom {
 public:
  explicit SoakRandom(unsigned seed) : engine_(seed) {}

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(engine_); }

  // One fault for the requests of `target` (sometimes for every request),
  // or none. Answers are never cut to nothing: that is the empty answer.
  std::optional<sim::Fault> Fault(const std::string& target) {
    // Lengths on both sides of the pages' minimum lengths, and a few others.
    static constexpr size_t kShortLengths[] = {1,   5,   6,   7,   9,   10,  59,  60,  61, 119,
                                               120, 121, 300, 437, 438, 439, 440, 441, 485};
    if (Chance(0.3)) return std::nullopt;
    sim::Fault fault{static_cast<sim::FaultKind>(Uniform(0, 5)), Chance(0.2) ? "" : target};
    fault.times = Chance(0.5) ? 1 : -1;
    fault.shortLength =
        Chance(0.7) ? kShortLengths[Uniform(0, static_cast<int>(std::size(kShortLengths)) - 1)]
                    : static_cast<size_t>(Uniform(1, 500));
    fault.delayMilliseconds = Uniform(1, 15);
    return fault;
  }

 private:
  std::mt19937 engine_;
};

// What one request came back as, under the fault that hit it.
struct Reply {
  bool thrown = false;
  size_t length = 0;      // of the response
  bool accepted = false;  // for a write: the card took it and answered "1"
};

inline Reply ReplyUnder(const sim::FaultEffect& effect, size_t fullLength, bool isWrite) {
  Reply reply;
  if (effect.untouched) return reply;  // the response keeps its preset
  if (effect.throws) {
    reply.thrown = true;
    return reply;
  }
  if (effect.nothing) return reply;
  if (isWrite) {
    // A cut answer is still "1": no cut goes below one character.
    reply.accepted = !effect.rejectWrite;
    reply.length = 1;
    return reply;
  }
  reply.length = std::min(fullLength, effect.shortLength.value_or(fullLength));
  return reply;
}

}  // namespace t740::test

#endif
