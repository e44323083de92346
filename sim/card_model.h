// One t740 card at one IP address and card address: answers the requests
// of its groups, keeps its settings and performance, and derives its status
// texts. Not thread-safe; SimulatedCard guards it.
#ifndef T740_SIM_CARD_MODEL_H
#define T740_SIM_CARD_MODEL_H

#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/identifier.h"
#include "sim/card_state.h"
#include "sim/performance.h"

namespace t740::sim {

struct CardIdentity {
  std::string ip;
  std::string cardAddress;
};

class CardModel {
 public:
  // Performance counting starts `uptimeSeconds` before `now`; the counters
  // catch up at the first AdvanceTo, so that a network of cards starts at
  // once and each card pays for its past when it is first asked.
  CardModel(CardIdentity identity, CardState state, int64_t now, int64_t uptimeSeconds = 0);

  // The answer to one request (operation 0 reads, 1 writes). Another card's
  // request, an unknown group or a read of a write-only group answers
  // nothing; a write answers "1" or an error text.
  std::string Answer(int operation, std::string_view ip, std::string_view oid,
                     std::string_view value);
  bool IsAddressed(std::string_view ip, std::string_view cardAddress) const;

  // Lets the performance counters run up to `now`.
  void AdvanceTo(int64_t now) { performance_.RunUntil(state_, now); }

  std::string AlarmStatus() const;
  std::string LedStatus() const;
  std::string PerformanceData() const;

  const CardIdentity& Identity() const { return identity_; }
  CardState& State() { return state_; }
  const CardState& State() const { return state_; }
  PerformanceMonitor& Performance() { return performance_; }
  const PerformanceMonitor& Performance() const { return performance_; }

 private:
  bool IsAddressed(std::string_view ip, const protocol::AddressFields& fields) const;
  std::string Read(const protocol::Identifier& id) const;
  std::string Write(const protocol::Identifier& id, std::string_view value);

  CardIdentity identity_;
  protocol::AddressFields fields_;
  CardState state_;
  PerformanceMonitor performance_;
};

}  // namespace t740::sim

#endif
