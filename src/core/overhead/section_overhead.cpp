#include "core/overhead/section_overhead.h"

#include "core/card/request_frame.h"

namespace t740 {

std::optional<SectionDirections> FetchSectionOverhead(const CCardObject& card, CacheFirstRead& rule,
                                                      MessageSink& messages) {
  const std::optional<std::string> data = rule.Data(card, messages);
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
