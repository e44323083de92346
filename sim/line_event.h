// Line faults that come and go on a schedule, one a line of an events file:
//
//   TIME AGENT CARD PORT EVENT [SECONDS]
//   +5s  127.0.0.3 0104 B fibre-pulled
//   +20s 127.0.0.3 0104 B fibre-restored
//   +30s 127.0.0.3 0104 A errored-seconds 10
//
// TIME counts from the start in ms, s or m; EVENT is fibre-pulled,
// fibre-restored, trace-mismatch (the far end sends another trace),
// trace-restored (it sends the expected one again) or errored-seconds N (a
// burst: each of the next N seconds carries errored blocks). Blank lines
// and lines from '#' are skipped.
#ifndef T740_SIM_LINE_EVENT_H
#define T740_SIM_LINE_EVENT_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/card_state.h"

namespace t740::sim {

enum class LineEventKind {
  FibrePulled,
  FibreRestored,
  TraceMismatch,
  TraceRestored,
  BurstStarts,
  BurstEnds,
};

struct LineEvent {
  int64_t atMilliseconds;
  std::string agent;
  std::string card;
  int port;  // 0 to 3, A to D
  LineEventKind kind;
  int lineNumber;
  std::string text;  // the line without its time: "127.0.0.3 0104 B fibre-pulled"
};

class LineEventError : public std::invalid_argument {
 public:
  LineEventError(int lineNumber, const std::string& message)
      : std::invalid_argument("line " + std::to_string(lineNumber) + ": " + message),
        lineNumber_(lineNumber) {}
  int LineNumber() const { return lineNumber_; }

 private:
  int lineNumber_;
};

// The events in time order (a burst gives its start and its end); throws
// LineEventError for a line with a bad time, address, card, port or event.
std::vector<LineEvent> ParseLineEvents(const std::string& text);

// The event's change to the line around the card.
void ApplyLineEvent(const LineEvent& event, CardState& state);

}  // namespace t740::sim

#endif
