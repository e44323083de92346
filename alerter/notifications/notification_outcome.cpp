#include "alerter/notifications/notification_outcome.h"

namespace t740::alerter {
namespace {

struct OutcomeName {
  NotificationOutcome outcome;
  const char* name;
};
constexpr OutcomeName kOutcomeNames[] = {
    {NotificationOutcome::Accepted, "accepted"},
    {NotificationOutcome::BadCommunity, "bad_community"},
    {NotificationOutcome::UnknownUser, "unknown_user"},
    {NotificationOutcome::WrongLevel, "wrong_security_level"},
    {NotificationOutcome::BadDigest, "bad_digest"},
    {NotificationOutcome::Undecryptable, "undecryptable"},
    {NotificationOutcome::NotInTimeWindow, "not_in_time_window"},
    {NotificationOutcome::UnknownEngine, "unknown_engine"},
    {NotificationOutcome::Malformed, "malformed"},
    {NotificationOutcome::UnsupportedVersion, "unsupported_version"},
    {NotificationOutcome::NotANotification, "not_a_notification"},
    {NotificationOutcome::NotACardAlarm, "not_a_card_alarm"},
};
static_assert(sizeof kOutcomeNames / sizeof kOutcomeNames[0] == kNotificationOutcomeCount);

size_t IndexOf(NotificationOutcome outcome) {
  return static_cast<size_t>(outcome);
}

}  // namespace

const char* NotificationOutcomeName(NotificationOutcome outcome) {
  for (const OutcomeName& entry : kOutcomeNames) {
    if (entry.outcome == outcome) return entry.name;
  }
  return "unknown";
}

void NotificationCounts::Add(NotificationOutcome outcome) {
  counts_[IndexOf(outcome)].fetch_add(1, std::memory_order_relaxed);
}

uint64_t NotificationCounts::Of(NotificationOutcome outcome) const {
  return counts_[IndexOf(outcome)].load(std::memory_order_relaxed);
}

std::vector<NotificationCount> NotificationCounts::Snapshot() const {
  std::vector<NotificationCount> snapshot;
  for (const OutcomeName& entry : kOutcomeNames) {
    snapshot.push_back({entry.name, Of(entry.outcome)});
  }
  return snapshot;
}

}  // namespace t740::alerter
