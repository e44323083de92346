#include "core/overhead/section_overhead.h"

#include "core/card/request_frame.h"

namespace t740 {

std::optional<SectionDirections> FetchSectionOverhead(const CCardObject& card, bool& cacheUsed,
                                                      MessageSink& messages) {
  const Group& group = GroupOf(GroupId::SectionOverhead);
  std::optional<std::string> data;
  if (!cacheUsed) {
    cacheUsed = true;
    data = AcceptReadResponse(card.GetSectionOverheadCache(), group.readMinimum, group, messages);
  } else {
    data = ReadGroupFromCard(card, group, group.readMinimum, messages);
  }
  if (!data) return std::nullopt;
  return ParseSectionRecord(*data);
}

void WriteSectionOverhead(const CCardObject& card, const SectionDirections& directions,
                          MessageSink& messages) {
  const auto record = BuildSectionRecord(directions, messages);
  if (!record) return;
  WriteGroup(card, GroupOf(GroupId::SectionOverhead), *record, messages);
}

}  // namespace t740
