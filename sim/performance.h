// The card's performance monitoring: per port, 27 counters of five layers,
// counted second by second into 15-minute and 24-hour periods aligned to
// the card's clock, with the completed periods kept as history.
#ifndef T740_SIM_PERFORMANCE_H
#define T740_SIM_PERFORMANCE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/card_state.h"

namespace t740::sim {

constexpr int kCounterCount = 27;
using Counters = std::array<uint16_t, kCounterCount>;

// First counter of each layer; each layer counts EB, BBE, ES, SES, UAS, and
// the higher-order path also PJ+ and PJ-.
enum Layer : int {
  kRegeneratorSection = 0,
  kMultiplexSection = 5,
  kFarEndMultiplexSection = 10,
  kHigherOrderPath = 15,
  kFarEndHigherOrderPath = 22,
};
enum CounterKind : int { kEB = 0, kBBE, kES, kSES, kUAS, kPJPlus, kPJMinus };

constexpr int64_t kQuarterHourSeconds = 15 * 60;
constexpr int64_t kDaySeconds = 24 * 60 * 60;
constexpr size_t kQuarterHourHistory = 15;
constexpr size_t kDayHistory = 2;

struct PeriodRecords {
  std::vector<Counters> history;  // completed periods, oldest first
  Counters current{};
};

struct PortPerformance {
  PeriodRecords quarterHours;
  PeriodRecords days;
};

class PerformanceMonitor {
 public:
  explicit PerformanceMonitor(int64_t now) : time_(now) {}

  // Counts every second from the last one counted up to `now` under the
  // state's present line conditions; a clock that goes back counts nothing.
  void RunUntil(const CardState& state, int64_t now);
  // Zeroes the current periods and drops the history.
  void Clear();

  const PortPerformance& Port(int port) const { return ports_[port]; }
  int64_t Time() const { return time_; }

 private:
  int64_t time_;
  std::array<PortPerformance, kPortCount> ports_;
};

}  // namespace t740::sim

#endif
