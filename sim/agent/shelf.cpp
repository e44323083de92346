#include "sim/agent/shelf.h"

#include <algorithm>
#include <stdexcept>

#include "protocol/card_mib.h"

namespace t740::sim {
namespace {

// Where the address arcs sit in a name: after the subtree, the groups' arc
// and the read or write arc; after the subtree and the status texts' arc.
constexpr size_t kGroupAddressAt = 12;
constexpr size_t kStatusAddressAt = 11;

std::optional<std::pair<uint32_t, uint32_t>> AddressArcsOf(const Arcs& name) {
  static const Arcs subtree = protocol::CardSubtreeArcs();
  if (name.size() <= subtree.size() || !std::equal(subtree.begin(), subtree.end(), name.begin())) {
    return std::nullopt;
  }
  const uint32_t kind = name[subtree.size()];
  const size_t at = kind == protocol::kGroupsArc ? kGroupAddressAt : kStatusAddressAt;
  if ((kind != protocol::kGroupsArc && kind != protocol::kStatusArc) || name.size() <= at + 1)
    return std::nullopt;
  return std::make_pair(name[at], name[at + 1]);
}

}  // namespace

void Shelf::Add(std::unique_ptr<SimulatedCard> card) {
  auto objects = std::make_unique<CardObjects>(*card);
  const std::vector<Arcs> names = objects->ReadableNames();
  const auto arcs = AddressArcsOf(names.front());
  if (!arcs || !byAddress_.emplace(*arcs, slots_.size()).second) {
    throw std::invalid_argument("card " + card->Identity().cardAddress +
                                " is already on the shelf");
  }
  for (const Arcs& name : names) readables_.emplace_back(name, slots_.size());
  sorted_ = false;
  slots_.push_back({std::move(card), std::move(objects)});
}

std::optional<std::string> Shelf::Get(const Arcs& name) {
  CardObjects* objects = Find(name);
  if (!objects) return std::nullopt;
  return objects->Get(name);
}

std::optional<std::pair<Arcs, std::string>> Shelf::Next(const Arcs& name) {
  if (!sorted_) std::sort(readables_.begin(), readables_.end());
  sorted_ = true;
  const auto next = std::upper_bound(readables_.begin(), readables_.end(), name,
                                     [](const Arcs& wanted, const std::pair<Arcs, size_t>& entry) {
                                       return wanted < entry.first;
                                     });
  if (next == readables_.end()) return std::nullopt;
  auto value = slots_[next->second].objects->Get(next->first);
  if (!value) return std::nullopt;
  return std::make_pair(next->first, std::move(*value));
}

SetStatus Shelf::Check(const Arcs& name, bool isOctetString, std::string_view octets) {
  CardObjects* objects = Find(name);
  return objects ? objects->Check(name, isOctetString, octets) : SetStatus::NoCreation;
}

SetStatus Shelf::Apply(const Arcs& name, std::string_view octets) {
  const auto slot = SlotOf(name);
  if (!slot) return SetStatus::NoCreation;
  touched_.push_back(*slot);
  return slots_[*slot].objects->Apply(name, octets);
}

void Shelf::Undo() {
  for (Slot& slot : slots_) slot.objects->Undo();
  ReportTouched();
}

void Shelf::Commit() {
  for (Slot& slot : slots_) slot.objects->Commit();
  ReportTouched();
}

void Shelf::OnChange(std::function<void(SimulatedCard&)> changed) {
  changed_ = std::move(changed);
}

void Shelf::ReportTouched() {
  std::sort(touched_.begin(), touched_.end());
  touched_.erase(std::unique(touched_.begin(), touched_.end()), touched_.end());
  if (changed_) {
    for (size_t slot : touched_) changed_(*slots_[slot].card);
  }
  touched_.clear();
}

SimulatedCard* Shelf::Card(std::string_view cardAddress) {
  for (Slot& slot : slots_) {
    if (slot.card->Identity().cardAddress == cardAddress) return slot.card.get();
  }
  return nullptr;
}

std::vector<std::string> Shelf::CardAddresses() const {
  std::vector<std::string> addresses;
  for (const Slot& slot : slots_) addresses.push_back(slot.card->Identity().cardAddress);
  return addresses;
}

CardObjects* Shelf::Find(const Arcs& name) {
  const auto slot = SlotOf(name);
  return slot ? slots_[*slot].objects.get() : nullptr;
}

std::optional<size_t> Shelf::SlotOf(const Arcs& name) const {
  const auto arcs = AddressArcsOf(name);
  if (!arcs) return std::nullopt;
  const auto slot = byAddress_.find(*arcs);
  if (slot == byAddress_.end()) return std::nullopt;
  return slot->second;
}

}  // namespace t740::sim
