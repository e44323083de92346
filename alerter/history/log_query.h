// A search of the alarm log as the page and the JSON API ask it: filters by
// card, agent, port, alarm and a time range of the card's times, newest
// first, a page at a time. Parsed from query parameters that nothing is
// trusted in.
#ifndef T740_ALERTER_HISTORY_LOG_QUERY_H
#define T740_ALERTER_HISTORY_LOG_QUERY_H

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace t740::alerter {

constexpr int kLogPageDefault = 50;
constexpr int kLogPageMaximum = 500;

struct LogQuery {
  std::optional<std::string> card;                            // 2 to 4 digits
  std::optional<std::string> instance;                        // the agent, ADDRESS:PORT
  std::optional<std::string> port;                            // A to D
  std::optional<std::string> alarm;                           // an alarm name the card reports
  std::optional<std::chrono::system_clock::time_point> from;  // card time, inclusive
  std::optional<std::chrono::system_clock::time_point> to;    // card time, exclusive
  std::optional<int64_t> before;  // entries with a smaller id: the next page
  int limit = kLogPageDefault;
};

// The query of `parameters` (card, agent, port, alarm, from, to: RFC 3339,
// before, limit), or the one-line reason it is none, for a 400 answer.
std::variant<LogQuery, std::string> ParseLogQuery(
    const std::multimap<std::string, std::string>& parameters);

}  // namespace t740::alerter

#endif
