// The simulated card's objects by numeric identifier, as its SNMP agent
// serves them: the readable groups and the status texts for GET and
// GETNEXT, the writable groups for SET. Group values travel as the octets
// of the card's hex records, status texts as their own characters.
//
// A SET is checked whole before anything changes (Check on every object of
// the request), then applied object by object (Apply); Undo puts the card
// back as it was before the request's first Apply, Commit keeps it.
#ifndef T740_SIM_AGENT_CARD_OBJECTS_H
#define T740_SIM_AGENT_CARD_OBJECTS_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/card_model.h"
#include "sim/simulated_card.h"

namespace t740::sim {

using Arcs = std::vector<uint32_t>;

// What a SET of one object comes to; each is an SNMP error status.
enum class SetStatus {
  Ok,
  NotWritable,   // the object exists and is read only
  NoCreation,    // no such object
  WrongType,     // not an OCTET STRING
  WrongLength,   // the card's record has another length
  WrongValue,    // the card refuses the record (set head, mode, channel)
  CommitFailed,  // the card refused a record it had accepted in the check
};

class CardObjects {
 public:
  // Throws std::invalid_argument when the card's address fields are not two
  // decimal numbers, which no SNMP identifier could name.
  explicit CardObjects(SimulatedCard& card);

  // The object's value; nothing when there is no readable object of that name.
  std::optional<std::string> Get(const Arcs& name);
  // The first readable object after `name`, in identifier order.
  std::optional<std::pair<Arcs, std::string>> Next(const Arcs& name);

  SetStatus Check(const Arcs& name, bool isOctetString, std::string_view octets);
  SetStatus Apply(const Arcs& name, std::string_view octets);
  void Undo();
  void Commit();

  // Every readable object's name, in identifier order.
  std::vector<Arcs> ReadableNames() const;

 private:
  struct Readable {
    Arcs name;
    std::function<std::string(CardModel& card)> read;
  };
  struct Writable {
    Arcs name;
    std::string oidText;  // the group's write identifier as the card knows it
  };

  const Writable* FindWritable(const Arcs& name) const;
  const Readable* FindReadable(const Arcs& name) const;
  std::string Value(const Readable& object);

  SimulatedCard& card_;
  std::vector<Readable> readables_;  // in identifier order
  std::vector<Writable> writables_;
  std::optional<CardModel> undo_;
};

}  // namespace t740::sim

#endif
