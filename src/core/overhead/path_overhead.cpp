#include "core/overhead/path_overhead.h"

#include "core/card/request_frame.h"

namespace t740 {

void SendPathChannelSelect(const CCardObject& card, const PathOverhead& shown,
                           MessageSink& messages) {
  const auto record = BuildPathRecord(kPathModeSelect, false, shown, messages);
  WriteGroup(card, GroupOf(GroupId::PathOverhead), *record, messages, false);
}

std::optional<PathOverhead> FetchPathOverhead(const CCardObject& card, bool fromReadButton,
                                              MessageSink& messages) {
  const size_t minimum = fromReadButton ? kPathReadMinimumFromButton : kPathReadMinimumAtOpening;
  const auto data = ReadGroupFromCard(card, GroupOf(GroupId::PathOverhead), minimum, messages);
  if (!data) return std::nullopt;
  return ParsePathRecord(*data);
}

void WritePathOverhead(const CCardObject& card, const PathOverhead& values, MessageSink& messages) {
  const auto record = BuildPathRecord(kPathModeSet, true, values, messages);
  if (!record) return;
  WriteGroup(card, GroupOf(GroupId::PathOverhead), *record, messages);
}

}  // namespace t740
