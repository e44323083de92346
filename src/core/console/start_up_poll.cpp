#include "core/console/start_up_poll.h"

#include "core/card/request_frame.h"

namespace t740 {
namespace {

const std::array<PollRead, kPollReads> kPollReadTable = {{
    {30, GroupId::BasicInfo, &CCardObject::SetBasicInfoCache},
    {60, GroupId::Loopback, &CCardObject::SetLoopbackCache},
    {90, GroupId::SectionOverhead, &CCardObject::SetSectionOverheadCache},
    {120, GroupId::Thresholds, &CCardObject::SetThresholdCache},
}};

}  // namespace

const std::array<PollRead, kPollReads>& PollReads() {
  return kPollReadTable;
}

const PollRead* PollReadAt(int step) {
  for (const PollRead& read : kPollReadTable) {
    if (read.step == step) return &read;
  }
  return nullptr;
}

std::string FetchPollGroup(const CCardObject& card, const IdentifierFields& fields, GroupId group) {
  const std::string oid = BuildCardOid(fields, Operation::Read, GroupOf(group).suffix);
  try {
    return CallRequest(card, Operation::Read, oid, {}, {});
  } catch (...) {
    return std::string();
  }
}

void StorePollResults(CCardObject& card, const std::array<std::string, kPollReads>& results) {
  for (size_t i = 0; i < kPollReads; ++i) (card.*kPollReadTable[i].store)(results[i]);
}

}  // namespace t740
