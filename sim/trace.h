// Section and path trace identifiers (J0, J1) in the 16-byte frame that
// SDH equipment sends: a start byte carrying a CRC-7 over the frame,
// followed by 15 printable characters padded with spaces.
#ifndef T740_SIM_TRACE_H
#define T740_SIM_TRACE_H

#include <string>
#include <string_view>

namespace t740::sim {

constexpr size_t kTraceHexLength = 32;
// What a far end that is not the expected one sends, in the simulations.
constexpr char kWrongFarEndTrace[] = "WRONG-FAR-END";

// The frame of `text` (cut to 15 characters) as 32 upper-case hex digits.
std::string TraceHex(std::string_view text);

}  // namespace t740::sim

#endif
