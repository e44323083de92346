// What became of each message the notification receiver took in, counted
// by outcome for the alerter's /metrics. Only "accepted" is acted on.
#ifndef T740_ALERTER_NOTIFICATIONS_NOTIFICATION_OUTCOME_H
#define T740_ALERTER_NOTIFICATIONS_NOTIFICATION_OUTCOME_H

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace t740::alerter {

enum class NotificationOutcome {
  Accepted,
  BadCommunity,
  UnknownUser,
  WrongLevel,  // below the user's level, or above the keys it has
  BadDigest,
  Undecryptable,
  NotInTimeWindow,
  // Not this engine's id; every sender's engine discovery lands here once.
  UnknownEngine,
  Malformed,
  UnsupportedVersion,  // SNMPv1
  NotANotification,
  NotACardAlarm,
};
inline constexpr size_t kNotificationOutcomeCount =
    static_cast<size_t>(NotificationOutcome::NotACardAlarm) + 1;

// "accepted", "bad_community", ...
const char* NotificationOutcomeName(NotificationOutcome outcome);

struct NotificationCount {
  const char* outcome;
  uint64_t count;
};

class NotificationCounts {
 public:
  void Add(NotificationOutcome outcome);
  uint64_t Of(NotificationOutcome outcome) const;
  // Every outcome, in the order above, with its count so far.
  std::vector<NotificationCount> Snapshot() const;

 private:
  std::array<std::atomic<uint64_t>, kNotificationOutcomeCount> counts_{};
};

}  // namespace t740::alerter

#endif
