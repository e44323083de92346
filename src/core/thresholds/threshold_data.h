// The card's threshold data: 108 values of 16 bits, four hex digits each
// with the low byte first; the first port's 54 values, then the second's.
#ifndef T740_CORE_THRESHOLDS_THRESHOLD_DATA_H
#define T740_CORE_THRESHOLDS_THRESHOLD_DATA_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/card/message_sink.h"
#include "core/thresholds/port_pair.h"
#include "core/thresholds/threshold_table.h"

namespace t740 {

constexpr size_t kThresholdDataLength = 4 * kThresholdValues;

// The values as the pages show them: decimal texts, first port first.
using ThresholdTexts = std::array<std::string, kThresholdValues>;

// Decimal texts of the data after the response head; case does not matter.
ThresholdTexts DecodeThresholdData(std::string_view data);

// A value as typed: ASCII digits only (none reads as 0), at most 65535.
std::optional<uint16_t> ParseThresholdValue(std::string_view text);

// Four upper-case hex digits, low byte first: 300 gives "2C01".
std::string EncodeThresholdValue(uint16_t value);

// Checks and encodes the 108 texts in data order. At the first value that
// fails, shows its message with its port's prefix, empties `data` and
// returns false.
bool BuildThresholdData(const ThresholdTexts& texts, const PortPair& ports, MessageSink& messages,
                        std::string& data);

}  // namespace t740

#endif
