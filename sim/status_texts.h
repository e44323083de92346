// The status texts the host fetches from the card: alarm status, LED
// status and performance data, each in the layout the plug-in decodes.
#ifndef T740_SIM_STATUS_TEXTS_H
#define T740_SIM_STATUS_TEXTS_H

#include <string>

#include "sim/card_state.h"
#include "sim/performance.h"

namespace t740::sim {

// Head and 28 status bytes; bytes 0-3 are ports A to D.
std::string AlarmStatusText(const CardState& state);
// Head, 4 LED status bytes and the rest of the 71-byte status block.
std::string LedStatusText(const CardState& state);
// Five comma-ended fields: 15-minute records of the first port (two
// fields), of the second port (two fields), and the 24-hour records of
// both. Records are counted from the oldest history; the count names the
// current record.
std::string PerformanceDataText(const PortPerformance& first, const PortPerformance& second);

// The port pair whose performance the card reports: A/B on card address
// 07, C/D on any other.
struct PortPair {
  int first;
  int second;
};
PortPair PerformancePortPair(const std::string& secondAddressField);

}  // namespace t740::sim

#endif
