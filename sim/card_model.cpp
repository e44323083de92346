#include "sim/card_model.h"

#include "sim/basic_info_record.h"
#include "sim/loopback_record.h"
#include "sim/path_record.h"
#include "sim/perf_clear_record.h"
#include "sim/section_record.h"
#include "sim/status_texts.h"
#include "sim/threshold_record.h"
#include "sim/write_frame.h"

namespace t740::sim {
namespace {

struct GroupHandler {
  const char* suffix;
  std::string (*read)(const CardModel& card);                     // null: write only
  WriteResult (*write)(CardModel& card, std::string_view value);  // null: read only
};

const GroupHandler kGroups[] = {
    {".1", [](const CardModel& card) { return BasicInfoResponse(card.State()); }, nullptr},
    {".11", [](const CardModel& card) { return LoopbackResponse(card.State()); },
     [](CardModel& card, std::string_view value) {
       return ApplyLoopbackWrite(card.State(), value);
     }},
    {".12", [](const CardModel& card) { return SectionResponse(card.State()); },
     [](CardModel& card, std::string_view value) {
       return ApplySectionWrite(card.State(), value);
     }},
    {".13", [](const CardModel& card) { return PathResponse(card.State()); },
     [](CardModel& card, std::string_view value) { return ApplyPathWrite(card.State(), value); }},
    {".50", nullptr,
     [](CardModel& card, std::string_view value) {
       WriteResult result = CheckPerfClearWrite(value);
       if (!result) card.Performance().Clear();
       return result;
     }},
    {".51", [](const CardModel& card) { return ThresholdResponse(card.State()); },
     [](CardModel& card, std::string_view value) {
       return ApplyThresholdWrite(card.State(), value);
     }},
};

const GroupHandler* FindGroup(std::string_view suffix) {
  for (const GroupHandler& group : kGroups) {
    if (suffix == group.suffix) return &group;
  }
  return nullptr;
}

enum RequestOperation { kRead = 0, kWrite = 1 };

}  // namespace

CardModel::CardModel(CardIdentity identity, CardState state, int64_t now, int64_t uptimeSeconds)
    : identity_(std::move(identity)),
      fields_(protocol::FieldsOfCardAddress(identity_.cardAddress)),
      state_(std::move(state)),
      performance_(now - uptimeSeconds) {}

std::string CardModel::Answer(int operation, std::string_view ip, std::string_view oid,
                              std::string_view value) {
  const auto id = protocol::ParseIdentifier(oid);
  if (!id || !IsAddressed(ip, id->address)) return "";
  if (operation == kRead) return Read(*id);
  if (operation == kWrite) return Write(*id, value);
  return "";
}

bool CardModel::IsAddressed(std::string_view ip, std::string_view cardAddress) const {
  return IsAddressed(ip, protocol::FieldsOfCardAddress(cardAddress));
}

bool CardModel::IsAddressed(std::string_view ip, const protocol::AddressFields& fields) const {
  return ip == identity_.ip && fields == fields_;
}

std::string CardModel::Read(const protocol::Identifier& id) const {
  const GroupHandler* group = FindGroup(id.suffix);
  if (id.arc != protocol::Arc::Read || !group || !group->read) return "";
  return group->read(*this);
}

std::string CardModel::Write(const protocol::Identifier& id, std::string_view value) {
  if (id.arc != protocol::Arc::Write) return WriteErrorText(WriteError::ReadArc);
  const GroupHandler* group = FindGroup(id.suffix);
  if (!group) return WriteErrorText(WriteError::NoSuchGroup);
  if (!group->write) return WriteErrorText(WriteError::ReadOnlyGroup);
  if (const WriteResult error = group->write(*this, value)) return WriteErrorText(*error);
  return std::string(kWriteAccepted);
}

std::string CardModel::AlarmStatus() const {
  return AlarmStatusText(state_);
}

std::string CardModel::LedStatus() const {
  return LedStatusText(state_);
}

std::string CardModel::PerformanceData() const {
  const PortPair pair = PerformancePortPair(fields_.second);
  return PerformanceDataText(performance_.Port(pair.first), performance_.Port(pair.second));
}

}  // namespace t740::sim
