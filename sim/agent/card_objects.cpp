#include "sim/agent/card_objects.h"

#include <algorithm>
#include <stdexcept>

#include "protocol/card_mib.h"
#include "protocol/identifier.h"
#include "sim/hex.h"
#include "sim/write_frame.h"

namespace t740::sim {
namespace {

constexpr uint32_t kReadableGroups[] = {1, 11, 12, 13, 51};
constexpr uint32_t kWritableGroups[] = {11, 12, 13, 50, 51};

constexpr int kReadOperation = 0;
constexpr int kWriteOperation = 1;

struct WriteErrorStatus {
  WriteError error;
  SetStatus status;
};

constexpr WriteErrorStatus kWriteErrorStatus[] = {
    {WriteError::WrongHead, SetStatus::WrongValue},
    {WriteError::WrongLength, SetStatus::WrongLength},
    {WriteError::NotHex, SetStatus::WrongValue},
    {WriteError::UnknownMode, SetStatus::WrongValue},
    {WriteError::NoSuchChannel, SetStatus::WrongValue},
    {WriteError::ReadOnlyGroup, SetStatus::NotWritable},
    {WriteError::NoSuchGroup, SetStatus::NoCreation},
    {WriteError::ReadArc, SetStatus::NotWritable},
};

// What the card's answer to a write means for the SET.
SetStatus StatusOfAnswer(std::string_view answer) {
  if (answer == kWriteAccepted) return SetStatus::Ok;
  for (const WriteErrorStatus& entry : kWriteErrorStatus) {
    if (answer == WriteErrorText(entry.error)) return entry.status;
  }
  return SetStatus::WrongValue;
}

uint32_t DecimalArc(const std::string& field, const std::string& cardAddress) {
  const bool decimal =
      !field.empty() && field.size() <= 9 &&
      std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!decimal) {
    throw std::invalid_argument("card address '" + cardAddress +
                                "' does not give two decimal address fields");
  }
  return static_cast<uint32_t>(std::stoul(field));
}

Arcs Join(Arcs head, std::initializer_list<uint32_t> tail) {
  head.insert(head.end(), tail);
  return head;
}

std::string OctetsOfHexRecord(std::string_view hex) {
  std::string octets;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    octets += static_cast<char>(ParseByte(hex.substr(i, 2)));
  }
  return octets;
}

std::string HexRecordOfOctets(std::string_view octets) {
  std::string hex;
  for (char c : octets) hex += ByteHex(static_cast<uint8_t>(c));
  return hex;
}

}  // namespace

CardObjects::CardObjects(SimulatedCard& card) : card_(card) {
  const CardIdentity& identity = card.Identity();
  const protocol::AddressFields fields = protocol::FieldsOfCardAddress(identity.cardAddress);
  const uint32_t first = DecimalArc(fields.first, identity.cardAddress);
  const uint32_t second = DecimalArc(fields.second, identity.cardAddress);
  const Arcs subtree = protocol::CardSubtreeArcs();
  const std::string address = "." + fields.first + "." + fields.second + ".";
  const std::string groups =
      std::string(protocol::kCardSubtreeText) + "." + std::to_string(protocol::kGroupsArc);

  for (uint32_t group : kReadableGroups) {
    const std::string oid =
        groups + "." + std::to_string(protocol::kReadGroupArc) + address + std::to_string(group);
    readables_.push_back(
        {Join(subtree, {protocol::kGroupsArc, protocol::kReadGroupArc, first, second, group}),
         [oid, ip = identity.ip](CardModel& model) {
           return OctetsOfHexRecord(model.Answer(kReadOperation, ip, oid, ""));
         }});
  }
  for (const protocol::StatusObject& status : protocol::kStatusObjects) {
    readables_.push_back(
        {Join(subtree, {protocol::kStatusArc, first, second, status.arc}),
         [kind = status.kind](CardModel& model) { return StatusOf(model, kind); }});
  }
  for (uint32_t group : kWritableGroups) {
    writables_.push_back(
        {Join(subtree, {protocol::kGroupsArc, protocol::kWriteGroupArc, first, second, group}),
         groups + "." + std::to_string(protocol::kWriteGroupArc) + address +
             std::to_string(group)});
  }
  std::sort(readables_.begin(), readables_.end(),
            [](const Readable& a, const Readable& b) { return a.name < b.name; });
}

std::optional<std::string> CardObjects::Get(const Arcs& name) {
  const Readable* object = FindReadable(name);
  if (!object) return std::nullopt;
  return Value(*object);
}

std::optional<std::pair<Arcs, std::string>> CardObjects::Next(const Arcs& name) {
  const auto next = std::upper_bound(
      readables_.begin(), readables_.end(), name,
      [](const Arcs& wanted, const Readable& object) { return wanted < object.name; });
  if (next == readables_.end()) return std::nullopt;
  return std::make_pair(next->name, Value(*next));
}

SetStatus CardObjects::Check(const Arcs& name, bool isOctetString, std::string_view octets) {
  const Writable* object = FindWritable(name);
  if (!object) return FindReadable(name) ? SetStatus::NotWritable : SetStatus::NoCreation;
  if (!isOctetString) return SetStatus::WrongType;
  // The card judges the record on a copy of itself, so that nothing
  // changes before every object of the request has passed.
  std::string answer;
  card_.Update([&](CardModel& model) {
    CardModel trial = model;
    answer = trial.Answer(kWriteOperation, card_.Identity().ip, object->oidText,
                          HexRecordOfOctets(octets));
  });
  return StatusOfAnswer(answer);
}

SetStatus CardObjects::Apply(const Arcs& name, std::string_view octets) {
  const Writable* object = FindWritable(name);
  if (!object) return SetStatus::NoCreation;
  std::string answer;
  card_.Update([&](CardModel& model) {
    if (!undo_) undo_ = model;
    answer = model.Answer(kWriteOperation, card_.Identity().ip, object->oidText,
                          HexRecordOfOctets(octets));
  });
  return answer == kWriteAccepted ? SetStatus::Ok : SetStatus::CommitFailed;
}

void CardObjects::Undo() {
  if (!undo_) return;
  card_.Update([&](CardModel& model) { model = *undo_; });
  undo_.reset();
}

void CardObjects::Commit() {
  undo_.reset();
}

std::vector<Arcs> CardObjects::ReadableNames() const {
  std::vector<Arcs> names;
  for (const Readable& object : readables_) names.push_back(object.name);
  return names;
}

const CardObjects::Writable* CardObjects::FindWritable(const Arcs& name) const {
  for (const Writable& object : writables_) {
    if (object.name == name) return &object;
  }
  return nullptr;
}

const CardObjects::Readable* CardObjects::FindReadable(const Arcs& name) const {
  for (const Readable& object : readables_) {
    if (object.name == name) return &object;
  }
  return nullptr;
}

std::string CardObjects::Value(const Readable& object) {
  std::string value;
  card_.Update([&](CardModel& model) { value = object.read(model); });
  return value;
}

}  // namespace t740::sim
