// The cards behind one agent: each card's objects under the card's own
// address arcs, served together. A request names its card by the address
// arcs of the identifier; a name of a card the shelf does not hold is no
// object of it. GETNEXT walks the cards' objects in identifier order, and a
// SET of several objects may touch several cards: Undo and Commit reach
// every card.
#ifndef T740_SIM_AGENT_SHELF_H
#define T740_SIM_AGENT_SHELF_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/agent/card_objects.h"
#include "sim/simulated_card.h"

namespace t740::sim {

class Shelf {
 public:
  // Adds a card; throws std::invalid_argument when its address is not two
  // decimal fields or names a card the shelf already holds.
  void Add(std::unique_ptr<SimulatedCard> card);

  std::optional<std::string> Get(const Arcs& name);
  std::optional<std::pair<Arcs, std::string>> Next(const Arcs& name);
  SetStatus Check(const Arcs& name, bool isOctetString, std::string_view octets);
  SetStatus Apply(const Arcs& name, std::string_view octets);
  void Undo();
  void Commit();
  // Called, once the SET has been committed or undone, with every card
  // that its Apply reached.
  void OnChange(std::function<void(SimulatedCard&)> changed);

  // The card at that card address, or null.
  SimulatedCard* Card(std::string_view cardAddress);
  // The card addresses in the order they were added.
  std::vector<std::string> CardAddresses() const;

 private:
  struct Slot {
    std::unique_ptr<SimulatedCard> card;
    std::unique_ptr<CardObjects> objects;
  };
  using AddressArcs = std::pair<uint32_t, uint32_t>;

  CardObjects* Find(const Arcs& name);
  std::optional<size_t> SlotOf(const Arcs& name) const;
  void ReportTouched();

  std::vector<Slot> slots_;
  std::map<AddressArcs, size_t> byAddress_;
  // Every readable name with its slot, in identifier order once sorted.
  std::vector<std::pair<Arcs, size_t>> readables_;
  bool sorted_ = true;
  std::function<void(SimulatedCard&)> changed_;
  std::vector<size_t> touched_;  // slots the SET under way has applied to
};

}  // namespace t740::sim

#endif
