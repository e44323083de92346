#include "core/thresholds/threshold_exchange.h"

namespace t740 {

std::optional<ThresholdTexts> ThresholdReader::Read(const CCardObject& card,
                                                    MessageSink& messages) {
  const std::optional<std::string> data = rule_.Data(card, messages);
  if (!data) return std::nullopt;
  return DecodeThresholdData(*data);
}

bool WriteThresholds(const CCardObject& card, const ThresholdTexts& texts, const PortPair& ports,
                     MessageSink& messages) {
  std::string data;
  if (!BuildThresholdData(texts, ports, messages, data)) return false;
  return WriteGroup(card, GroupOf(GroupId::Thresholds), data, messages) == WriteOutcome::Succeeded;
}

WriteOutcome ClearPerformanceCounters(const CCardObject& card, MessageSink& messages) {
  return WriteGroup(card, GroupOf(GroupId::PerfClear), "", messages);
}

}  // namespace t740
