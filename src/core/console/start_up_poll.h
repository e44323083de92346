// The start-up poll's reads: which group is fetched at which step of the
// progress bar and which cache of the card object receives it.
#ifndef T740_CORE_CONSOLE_START_UP_POLL_H
#define T740_CORE_CONSOLE_START_UP_POLL_H

#include <array>
#include <string>

#include "core/card/card_address.h"
#include "core/card/card_object.h"
#include "core/card/groups.h"

namespace t740 {

struct PollRead {
  int step;  // bar position at which the group is fetched
  GroupId group;
  void (CCardObject::*store)(std::string text);
};

constexpr int kPollSteps = 150;
constexpr size_t kPollReads = 4;

// In the order of the steps, which is also the order of the stores.
const std::array<PollRead, kPollReads>& PollReads();

// The poll read due at this bar step, or null.
const PollRead* PollReadAt(int step);

// One read of the poll: whatever the host left in the response, or nothing
// when the host threw (the worker thread must not end the host process).
std::string FetchPollGroup(const CCardObject& card, const IdentifierFields& fields, GroupId group);

// Stores the four results in the card's caches, in poll order.
void StorePollResults(CCardObject& card, const std::array<std::string, kPollReads>& results);

}  // namespace t740

#endif
