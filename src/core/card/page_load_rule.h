// The page load rule for the groups the start-up poll fetched: a page's
// first read takes the card object's cache, every later read asks the card.
// One rule for the device information, loopback and section overhead pages
// and the threshold container.
#ifndef T740_CORE_CARD_PAGE_LOAD_RULE_H
#define T740_CORE_CARD_PAGE_LOAD_RULE_H

#include <optional>
#include <string>

#include "core/card/card_object.h"
#include "core/card/groups.h"
#include "core/card/message_sink.h"

namespace t740 {

class CacheFirstRead {
 public:
  // `group` is one of the four the start-up poll fetches.
  explicit CacheFirstRead(GroupId group) : group_(group) {}

  // The raw response; the host's exceptions pass through.
  std::string Response(const CCardObject& card);
  // The group's data past its head; nothing when the response is short (with
  // the group's incomplete-data message) or when the host threw (silently).
  std::optional<std::string> Data(const CCardObject& card, MessageSink& messages);

  bool CacheUsed() const { return cacheUsed_; }
  // For a window that has no poll behind it: every read asks the card.
  void SkipCache() { cacheUsed_ = true; }

 private:
  GroupId group_;
  bool cacheUsed_ = false;
};

}  // namespace t740

#endif
