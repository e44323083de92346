#ifndef T740_ALERTER_ALERTMANAGER_LATENCY_HISTOGRAM_H
#define T740_ALERTER_ALERTMANAGER_LATENCY_HISTOGRAM_H

#include <array>
#include <cstdint>

namespace t740::alerter {

// Seconds from an alert's cause to its post, in Prometheus's default
// buckets; the counts are cumulative, as a histogram is exposed.
struct LatencyHistogram {
  static constexpr std::array<double, 11> kBounds = {0.005, 0.01, 0.025, 0.05, 0.1, 0.25,
                                                     0.5,   1,    2.5,   5,    10};
  std::array<std::uint64_t, kBounds.size()> buckets{};  // observations <= kBounds[i]
  std::uint64_t count = 0;                              // the +Inf bucket
  double sum = 0;

  void Observe(double seconds);
};

}  // namespace t740::alerter

#endif
