// The page load rule for the groups the start-up poll fetched: a page's
// first read takes the card object's cache, every later read asks the card.
#ifndef T740_CORE_CARD_PAGE_LOAD_RULE_H
#define T740_CORE_CARD_PAGE_LOAD_RULE_H

#include <string>

#include "core/card/card_object.h"
#include "core/card/groups.h"

namespace t740 {

using CacheGetter = std::string (CCardObject::*)() const;

// The raw response for the page's read; sets `cacheUsed` when it took the
// cache. Exceptions of the host pass through.
std::string TakeGroupResponse(const CCardObject& card, const Group& group, CacheGetter cache,
                              int& cacheUsed);

}  // namespace t740

#endif
