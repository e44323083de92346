#include "alerter/alertmanager/latency_histogram.h"

namespace t740::alerter {

void LatencyHistogram::Observe(double seconds) {
  for (std::size_t i = 0; i < kBounds.size(); ++i) {
    if (seconds <= kBounds[i]) ++buckets[i];
  }
  ++count;
  sum += seconds;
}

}  // namespace t740::alerter
