#include "sim/line_event.h"

#include <arpa/inet.h>

#include <algorithm>
#include <sstream>
#include <string_view>

#include "sim/card_list.h"
#include "sim/trace.h"

namespace t740::sim {
namespace {

struct TimeUnit {
  std::string_view suffix;
  int64_t milliseconds;
};
// "ms" before "s", which it ends with.
constexpr TimeUnit kTimeUnits[] = {{"ms", 1}, {"s", 1000}, {"m", 60000}};
constexpr int64_t kLatestMilliseconds = 7 * 24 * 60 * 60 * 1000LL;
constexpr int64_t kLongestBurstSeconds = 24 * 60 * 60;

struct EventName {
  std::string_view name;
  LineEventKind kind;
};
constexpr EventName kEventNames[] = {
    {"fibre-pulled", LineEventKind::FibrePulled},
    {"fibre-restored", LineEventKind::FibreRestored},
    {"trace-mismatch", LineEventKind::TraceMismatch},
    {"trace-restored", LineEventKind::TraceRestored},
    {"errored-seconds", LineEventKind::BurstStarts},
};

bool AllDigits(std::string_view text) {
  return !text.empty() && text.size() <= 9 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int64_t ParseTime(int line, const std::string& word) {
  if (word.size() > 1 && word[0] == '+') {
    const std::string_view body = std::string_view(word).substr(1);
    for (const TimeUnit& unit : kTimeUnits) {
      if (body.size() <= unit.suffix.size() ||
          body.substr(body.size() - unit.suffix.size()) != unit.suffix) {
        continue;
      }
      const std::string_view number = body.substr(0, body.size() - unit.suffix.size());
      if (!AllDigits(number)) break;
      const int64_t at = std::stoll(std::string(number)) * unit.milliseconds;
      if (at > kLatestMilliseconds) break;
      return at;
    }
  }
  throw LineEventError(line, "'" + word + "' is no time: +N followed by ms, s or m, within a week");
}

std::string ParseAgent(int line, const std::string& word) {
  in_addr address{};
  if (inet_pton(AF_INET, word.c_str(), &address) != 1 || (ntohl(address.s_addr) >> 24) != 127) {
    throw LineEventError(line, "'" + word + "' is no agent address in 127.0.0.0/8");
  }
  return word;
}

int ParsePort(int line, const std::string& word) {
  if (word.size() != 1 || word[0] < 'A' || word[0] > 'D') {
    throw LineEventError(line, "'" + word + "' is no port: A, B, C or D");
  }
  return word[0] - 'A';
}

LineEventKind ParseKind(int line, const std::string& word) {
  for (const EventName& entry : kEventNames) {
    if (word == entry.name) return entry.kind;
  }
  throw LineEventError(line, "unknown event '" + word +
                                 "': fibre-pulled, fibre-restored, trace-mismatch, "
                                 "trace-restored or errored-seconds N");
}

int64_t ParseBurstSeconds(int line, std::istringstream& words) {
  std::string word;
  if (!(words >> word) || !AllDigits(word) || std::stoll(word) == 0 ||
      std::stoll(word) > kLongestBurstSeconds) {
    throw LineEventError(line, "errored-seconds needs a number of seconds from 1 to 86400");
  }
  return std::stoll(word);
}

std::string Words(std::istringstream& words) {
  std::string word, all;
  while (words >> word) all += (all.empty() ? "" : " ") + word;
  return all;
}

// One line's events: none for a blank or comment line, two for a burst.
std::vector<LineEvent> ParseLine(int line, const std::string& text) {
  std::istringstream words(text);
  std::string time, agent, card, port, event;
  if (!(words >> time) || time[0] == '#') return {};
  if (!(words >> agent >> card >> port >> event)) {
    throw LineEventError(line, "expected TIME AGENT CARD PORT EVENT");
  }
  LineEvent parsed{ParseTime(line, time),
                   ParseAgent(line, agent),
                   card,
                   ParsePort(line, port),
                   ParseKind(line, event),
                   line,
                   ""};
  if (!IsCardAddress(card)) {
    throw LineEventError(line, "'" + card + "' is not a card address of 2 to 4 digits");
  }
  std::vector<LineEvent> events;
  if (parsed.kind == LineEventKind::BurstStarts) {
    const int64_t seconds = ParseBurstSeconds(line, words);
    LineEvent end = parsed;
    end.kind = LineEventKind::BurstEnds;
    end.atMilliseconds += seconds * 1000;
    end.text = agent + " " + card + " " + port + " errored-seconds over";
    events.push_back(end);
  }
  const std::string rest = Words(words);
  if (!rest.empty()) throw LineEventError(line, "unexpected '" + rest + "' at the end");
  std::istringstream again(text);
  again >> time;
  parsed.text = Words(again);
  events.insert(events.begin(), parsed);
  return events;
}

}  // namespace

std::vector<LineEvent> ParseLineEvents(const std::string& text) {
  std::vector<LineEvent> events;
  std::istringstream lines(text);
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    for (LineEvent& event : ParseLine(++number, line)) events.push_back(std::move(event));
  }
  std::stable_sort(events.begin(), events.end(), [](const LineEvent& a, const LineEvent& b) {
    return a.atMilliseconds < b.atMilliseconds;
  });
  return events;
}

void ApplyLineEvent(const LineEvent& event, CardState& state) {
  PortState& port = state.ports[event.port];
  switch (event.kind) {
    case LineEventKind::FibrePulled:
      port.line.fibreConnected = false;
      break;
    case LineEventKind::FibreRestored:
      port.line.fibreConnected = true;
      break;
    case LineEventKind::TraceMismatch:
      port.farEndSection.j0 = TraceHex(kWrongFarEndTrace);
      break;
    case LineEventKind::TraceRestored:
      port.farEndSection.j0 = port.section.expectedJ0;
      break;
    case LineEventKind::BurstStarts:
      port.line.erroredBurst = true;
      break;
    case LineEventKind::BurstEnds:
      port.line.erroredBurst = false;
      break;
  }
}

}  // namespace t740::sim
