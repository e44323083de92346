// An Alertmanager silence as its v2 API writes and takes it, and whether it
// silences an alert of given labels, as Alertmanager decides: every matcher
// must match, a label the alert lacks counting as empty, and a regular
// expression must match the whole value.
#ifndef T740_ALERTER_DESK_SILENCE_H
#define T740_ALERTER_DESK_SILENCE_H

#include <chrono>
#include <string>
#include <vector>

#include "alerter/desk/alarm_labels.h"

namespace t740::alerter {

struct SilenceMatcher {
  std::string name;
  std::string value;
  bool isRegex = false;
  bool isEqual = true;  // false: the match is negated (!= or !~)
};

struct Silence {
  std::string id;  // empty: a new one
  std::vector<SilenceMatcher> matchers;
  std::string createdBy;
  std::string comment;
  std::chrono::system_clock::time_point startsAt;
  std::chrono::system_clock::time_point endsAt;
  std::string state;  // "active", "pending" or "expired"; read back only
};

bool MatcherMatches(const SilenceMatcher& matcher, const std::string& value);
bool SilenceMatches(const Silence& silence, const Labels& labels);

// The body of POST /api/v2/silences; with its id when it replaces one.
std::string SilenceJson(const Silence& silence);
// The silences of a GET /api/v2/silences answer; throws std::runtime_error
// when it is not such a list.
std::vector<Silence> ParseSilences(const std::string& json);
// The id of a POST /api/v2/silences answer; throws std::runtime_error.
std::string ParseSilenceId(const std::string& json);

}  // namespace t740::alerter

#endif
