// Reading and writing the card's section overhead group ".12".
#ifndef T740_CORE_OVERHEAD_SECTION_OVERHEAD_H
#define T740_CORE_OVERHEAD_SECTION_OVERHEAD_H

#include <optional>

#include "core/card/card_object.h"
#include "core/card/message_sink.h"
#include "core/card/page_load_rule.h"
#include "core/overhead/section_record.h"

namespace t740 {

// The four directions as the card reports them, read by the page's load
// rule. Nothing for a short response (after its message) or a host that
// throws.
std::optional<SectionDirections> FetchSectionOverhead(const CCardObject& card, CacheFirstRead& rule,
                                                      MessageSink& messages);

// Validates and writes all four directions in one request and reports the
// outcome; nothing is sent after a validation message.
void WriteSectionOverhead(const CCardObject& card, const SectionDirections& directions,
                          MessageSink& messages);

}  // namespace t740

#endif
