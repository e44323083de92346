// Reading and writing the card's higher-order path overhead group ".13".
#ifndef T740_CORE_OVERHEAD_PATH_OVERHEAD_H
#define T740_CORE_OVERHEAD_PATH_OVERHEAD_H

#include <optional>

#include "core/card/card_object.h"
#include "core/card/message_sink.h"
#include "core/overhead/path_record.h"

namespace t740 {

// Writes the shown port and VC4 with mode "00" so that the next read reports
// that channel. The outcome is not reported; a record too short to send is.
void SendPathChannelSelect(const CCardObject& card, const PathOverhead& shown,
                           MessageSink& messages);

// The channel the card reports. A read from the Read button accepts a
// shorter response than the one at window opening. Nothing for a short
// response (after its message) or a host that throws.
std::optional<PathOverhead> FetchPathOverhead(const CCardObject& card, bool fromReadButton,
                                              MessageSink& messages);

// Validates and writes the shown channel with mode "01" and reports the
// outcome; nothing is sent after a validation message.
void WritePathOverhead(const CCardObject& card, const PathOverhead& values, MessageSink& messages);

}  // namespace t740

#endif
