#include "core/card/page_load_rule.h"

#include "core/card/request_frame.h"

namespace t740 {

std::string TakeGroupResponse(const CCardObject& card, const Group& group, CacheGetter cache,
                              int& cacheUsed) {
  if (cacheUsed == 0) {
    cacheUsed = 1;
    return (card.*cache)();
  }
  return RequestGroupRead(card, group);
}

}  // namespace t740
