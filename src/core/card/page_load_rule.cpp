#include "core/card/page_load_rule.h"

#include <utility>

#include "core/card/request_frame.h"

namespace t740 {
namespace {

using CacheGetter = std::string (CCardObject::*)() const;

constexpr std::pair<GroupId, CacheGetter> kCaches[] = {
    {GroupId::BasicInfo, &CCardObject::GetBasicInfoCache},
    {GroupId::Loopback, &CCardObject::GetLoopbackCache},
    {GroupId::SectionOverhead, &CCardObject::GetSectionOverheadCache},
    {GroupId::Thresholds, &CCardObject::GetThresholdCache},
};

std::string CacheOf(const CCardObject& card, GroupId group) {
  for (const auto& [id, getter] : kCaches) {
    if (id == group) return (card.*getter)();
  }
  return {};
}

}  // namespace

std::string CacheFirstRead::Response(const CCardObject& card) {
  if (!cacheUsed_) {
    cacheUsed_ = true;
    return CacheOf(card, group_);
  }
  return RequestGroupRead(card, GroupOf(group_));
}

std::optional<std::string> CacheFirstRead::Data(const CCardObject& card, MessageSink& messages) {
  std::string response;
  try {
    response = Response(card);
  } catch (...) {
    return std::nullopt;
  }
  const Group& group = GroupOf(group_);
  return AcceptReadResponse(response, group.readMinimum, group, messages);
}

}  // namespace t740
