// Reading and writing the card's threshold group, and clearing its
// performance counters.
#ifndef T740_CORE_THRESHOLDS_THRESHOLD_EXCHANGE_H
#define T740_CORE_THRESHOLDS_THRESHOLD_EXCHANGE_H

#include <optional>

#include "core/card/card_object.h"
#include "core/card/message_sink.h"
#include "core/card/page_load_rule.h"
#include "core/card/request_frame.h"
#include "core/thresholds/threshold_data.h"

namespace t740 {

// The first read takes the start-up poll's cached response, every later
// one asks the card.
class ThresholdReader {
 public:
  std::optional<ThresholdTexts> Read(const CCardObject& card, MessageSink& messages);
  bool CacheUsed() const { return rule_.CacheUsed(); }
  // For a window without a poll behind it: every read asks the card.
  void SkipCache() { rule_.SkipCache(); }

 private:
  CacheFirstRead rule_{GroupId::Thresholds};
};

// Validates, encodes and writes the 108 values; false when nothing was
// sent or the card refused.
bool WriteThresholds(const CCardObject& card, const ThresholdTexts& texts, const PortPair& ports,
                     MessageSink& messages);

// The clear request carries no port: both pages send the same.
WriteOutcome ClearPerformanceCounters(const CCardObject& card, MessageSink& messages);

}  // namespace t740

#endif
