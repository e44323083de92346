#include "sim/performance.h"

#include <algorithm>

#include "sim/line_side.h"

namespace t740::sim {
namespace {

// A second with this many errored blocks counts as severely errored.
constexpr uint32_t kSevereBlocks = 30;
// Errors come in bursts: one second in 32 carries them, and one burst in
// 64 is sixteen times as heavy.
constexpr uint64_t kBurstEvery = 32;
constexpr uint64_t kHeavyBurstEvery = 64;
constexpr uint32_t kHeavyBurstFactor = 16;
constexpr uint64_t kSecondsPerHour = 3600;
// Errored blocks of each near-end layer in every second of a burst: an
// errored second, not a severely errored one.
constexpr uint32_t kBurstSecondBlocks = 8;
// Average seconds between pointer justifications of each sign.
constexpr uint64_t kPositiveJustificationEvery = 97;
constexpr uint64_t kNegativeJustificationEvery = 89;

// Independent noise per port, source and second.
enum Source : uint64_t { kNearRs, kNearMs, kNearHp, kFarMs, kFarHp, kPjPlus, kPjMinus };

uint64_t Noise(int port, Source source, int64_t second) {
  uint64_t x = static_cast<uint64_t>(second) ^ (static_cast<uint64_t>(port) << 56) ^
               (static_cast<uint64_t>(source) << 48);
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

uint32_t BurstErrors(int averagePerHour, int port, Source source, int64_t second) {
  // A clean line draws no noise: most cards of a network are clean.
  if (averagePerHour <= 0) return 0;
  const uint64_t noise = Noise(port, source, second);
  if (noise % kBurstEvery != 0) return 0;
  const uint64_t span = std::max<uint64_t>(
      1, 2 * kBurstEvery * static_cast<uint64_t>(averagePerHour) / kSecondsPerHour);
  const uint32_t errors = 1 + static_cast<uint32_t>((noise >> 8) % span);
  return (noise >> 40) % kHeavyBurstEvery == 0 ? errors * kHeavyBurstFactor : errors;
}

void Add(Counters& counters, int index, uint32_t amount) {
  counters[index] = static_cast<uint16_t>(std::min<uint32_t>(0xFFFF, counters[index] + amount));
}

void AddErroredSecond(Counters& delta, Layer layer, uint32_t errors) {
  if (errors == 0) return;
  Add(delta, layer + kEB, errors);
  Add(delta, layer + kES, 1);
  if (errors >= kSevereBlocks) {
    Add(delta, layer + kSES, 1);
  } else {
    Add(delta, layer + kBBE, errors);
  }
}

void AddUnavailableSecond(Counters& delta) {
  for (Layer layer : {kRegeneratorSection, kMultiplexSection, kHigherOrderPath}) {
    Add(delta, layer + kUAS, 1);
  }
}

// What a port's line does to its counters; fixed while a run lasts.
struct PortCondition {
  bool unavailable = false;
  bool errorFree = false;
  bool outOfFrame = false;
  bool burst = false;
  int nearErrors = 0;
  int farErrors = 0;
};

PortCondition ConditionOf(const CardState& state, int port) {
  const PortAlarms alarms = AlarmsOf(state, port);
  const LineConditions& line = state.ports[port].line;
  PortCondition condition;
  condition.unavailable = alarms.lossOfSignal || alarms.lossOfFrame;
  // The loop inside the card is free of line errors.
  condition.errorFree = LocalLoopback(state.loopback, port);
  condition.outOfFrame = alarms.outOfFrame;
  condition.burst = line.erroredBurst;
  condition.nearErrors = line.nearEndErrorsPerHour;
  condition.farErrors = line.farEndErrorsPerHour;
  return condition;
}

Counters SecondOf(const PortCondition& condition, int port, int64_t second) {
  Counters delta{};
  if (condition.unavailable) {
    AddUnavailableSecond(delta);
    return delta;
  }
  if (condition.errorFree) return delta;
  const int near = condition.nearErrors;
  const int far = condition.farErrors;
  const uint32_t burst = condition.burst ? kBurstSecondBlocks : 0;
  const uint32_t rsErrors =
      condition.outOfFrame ? kSevereBlocks : burst + BurstErrors(near, port, kNearRs, second);
  AddErroredSecond(delta, kRegeneratorSection, rsErrors);
  AddErroredSecond(delta, kMultiplexSection, burst + BurstErrors(near, port, kNearMs, second));
  AddErroredSecond(delta, kHigherOrderPath, burst + BurstErrors(near, port, kNearHp, second));
  AddErroredSecond(delta, kFarEndMultiplexSection, BurstErrors(far, port, kFarMs, second));
  AddErroredSecond(delta, kFarEndHigherOrderPath, BurstErrors(far, port, kFarHp, second));
  if (Noise(port, kPjPlus, second) % kPositiveJustificationEvery == 0) {
    Add(delta, kHigherOrderPath + kPJPlus, 1);
  }
  if (Noise(port, kPjMinus, second) % kNegativeJustificationEvery == 0) {
    Add(delta, kHigherOrderPath + kPJMinus, 1);
  }
  return delta;
}

void AddTo(PeriodRecords& records, const Counters& delta) {
  for (int i = 0; i < kCounterCount; ++i) Add(records.current, i, delta[i]);
}

void ClosePeriod(PeriodRecords& records, size_t historyLimit) {
  records.history.push_back(records.current);
  if (records.history.size() > historyLimit) records.history.erase(records.history.begin());
  records.current = Counters{};
}

void CountSecond(const std::array<PortCondition, kPortCount>& conditions, int64_t second,
                 std::array<PortPerformance, kPortCount>& ports) {
  const bool quarterEnds = (second + 1) % kQuarterHourSeconds == 0;
  const bool dayEnds = (second + 1) % kDaySeconds == 0;
  for (int port = 0; port < kPortCount; ++port) {
    const Counters delta = SecondOf(conditions[port], port, second);
    PortPerformance& performance = ports[port];
    // Most seconds of a clean line count nothing.
    if (delta != Counters{}) {
      AddTo(performance.quarterHours, delta);
      AddTo(performance.days, delta);
    }
    if (quarterEnds) ClosePeriod(performance.quarterHours, kQuarterHourHistory);
    if (dayEnds) ClosePeriod(performance.days, kDayHistory);
  }
}

}  // namespace

void PerformanceMonitor::RunUntil(const CardState& state, int64_t now) {
  if (time_ >= now) return;
  std::array<PortCondition, kPortCount> conditions;
  for (int port = 0; port < kPortCount; ++port) conditions[port] = ConditionOf(state, port);
  for (; time_ < now; ++time_) CountSecond(conditions, time_, ports_);
}

void PerformanceMonitor::Clear() {
  ports_ = {};
}

}  // namespace t740::sim
