// The simulated card as a peer of the host: a card model behind a lock,
// reached through the request function's arguments, with its clock, the
// faults a test injected and a log of the requests it saw. Every member
// may be called from any thread.
#ifndef T740_SIM_SIMULATED_CARD_H
#define T740_SIM_SIMULATED_CARD_H

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/status_kind.h"
#include "sim/card_model.h"
#include "sim/fault.h"
#include "t740/abi.h"

namespace t740::sim {

// Seconds of the card's clock; the default follows the wall clock (UTC),
// so 15-minute periods end on the quarter hour.
using Clock = std::function<int64_t()>;
Clock WallClock();

struct LoggedRequest {
  int operation;
  std::string ip;
  std::string oid;
  std::string one;
  std::string value;
};

using protocol::StatusKind;

// The card's status text of that kind, as it stands.
std::string StatusOf(const CardModel& card, StatusKind kind);

class SimulatedCard {
 public:
  // When the counters count the card's `uptimeSeconds` before now: at
  // once, or at the card's first request, so that a network of cards
  // starts at once and each card pays for its past when first asked.
  enum class CatchUp { AtOnce, AtFirstRequest };

  SimulatedCard(CardIdentity identity, CardState state, Clock clock = WallClock(),
                int64_t uptimeSeconds = 0, CatchUp catchUp = CatchUp::AtOnce);
  ~SimulatedCard();
  SimulatedCard(const SimulatedCard&) = delete;
  SimulatedCard& operator=(const SimulatedCard&) = delete;

  // The request function's work, with its arguments: fills `response` (or
  // leaves it, under a fault) and returns 1 when it answered. Throws under
  // the Throw fault.
  int Request(int operation, const CText& ip, const CText& oid, const CText& one,
              const CText& value, CText* response);

  // A status text as the host fetches it from the card at `ip` and
  // `cardAddress`; empty for another card. Faults apply as to requests.
  std::string FetchStatus(StatusKind kind, std::string_view ip, std::string_view cardAddress);

  // Changes the card or its line under the lock, after the counters have
  // run up to now under the old conditions.
  void Update(const std::function<void(CardModel&)>& change);
  CardState Snapshot() const;
  // The card's own clock, in seconds.
  int64_t Now() const { return clock_(); }
  const CardIdentity& Identity() const { return identity_; }

  void InjectFault(Fault fault);
  void ClearFaults();

  std::vector<LoggedRequest> Requests() const;
  void ClearRequests();

 private:
  std::string AnswerUnderFault(const FaultEffect& effect, bool isWrite,
                               const std::function<std::string(CardModel&)>& answer);

  const CardIdentity identity_;
  const Clock clock_;
  mutable std::mutex mutex_;
  CardModel model_;
  FaultPlan faults_;
  std::vector<LoggedRequest> requests_;
};

}  // namespace t740::sim

#endif
