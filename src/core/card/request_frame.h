// The frame every page follows to read or write one of the card's groups
// through the host's request function.
#ifndef T740_CORE_CARD_REQUEST_FRAME_H
#define T740_CORE_CARD_REQUEST_FRAME_H

#include <optional>
#include <string>
#include <string_view>

#include "core/card/card_address.h"
#include "core/card/card_object.h"
#include "core/card/groups.h"
#include "core/card/message_sink.h"

namespace t740 {

// One call of the host's request function for the card; returns what the
// host left in the response. A card without a request function answers
// nothing. Exceptions of the host pass through.
std::string CallRequest(const CCardObject& card, Operation operation, std::string_view oid,
                        std::string_view value, std::string_view preset);

// Asks the card for the group's raw response (read steps 1 to 3).
std::string RequestGroupRead(const CCardObject& card, const Group& group);

// The length check and head drop of a read: the data after the head, or
// nothing after showing the group's message for a short response.
std::optional<std::string> AcceptReadResponse(std::string_view response, size_t minimum,
                                              const Group& group, MessageSink& messages);

// A whole read from the card. A host that throws ends the read silently.
std::optional<std::string> ReadGroupFromCard(const CCardObject& card, const Group& group,
                                             size_t minimum, MessageSink& messages);

enum class WriteOutcome { DataShort, Succeeded, Failed };

// A whole write: data length check, set head, preset, call, 10 ms pause and
// the exactly-"1" rule. With `report` the outcome is shown to the operator;
// a short data is always shown. A host that throws counts as a failed write.
WriteOutcome WriteGroup(const CCardObject& card, const Group& group, std::string_view data,
                        MessageSink& messages, bool report = true);

}  // namespace t740

#endif
