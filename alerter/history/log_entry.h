// One line of the kept alarm log: an alarm of a card's port that rose or
// cleared, with the card's own time of the change and when and by which
// road the alerter learnt it, or an operator's acknowledgement of an alarm
// (or its withdrawal) with the operator's name and comment.
#ifndef T740_ALERTER_HISTORY_LOG_ENTRY_H
#define T740_ALERTER_HISTORY_LOG_ENTRY_H

#include <chrono>
#include <cstdint>
#include <string>

namespace t740::alerter {

enum class LogKind { Raised, Cleared, Acknowledged, Unacknowledged };

// How the alerter learnt of a change.
enum class LogRoad { Notification, Round, StartUp, Operator };

struct LogEntry {
  int64_t id = 0;  // the log's own, rising; 0 before it is kept
  LogKind kind = LogKind::Raised;
  std::string instance;  // the agent, ADDRESS:PORT
  std::string card;
  std::string port;
  std::string alarm;
  std::string severity;
  std::chrono::system_clock::time_point cardTime;  // the card's time of the change
  std::chrono::system_clock::time_point learnt;    // when the alerter learnt it
  LogRoad road = LogRoad::Round;
  std::string who;      // the operator, for an acknowledgement
  std::string comment;  // the operator's, for an acknowledgement
};

// "raised", "cleared", "acknowledged", "unacknowledged"; and back.
const char* LogKindName(LogKind kind);
bool LogKindNamed(const std::string& name, LogKind& kind);
// "notification", "round", "start-up", "operator"; and back.
const char* LogRoadName(LogRoad road);
bool LogRoadNamed(const std::string& name, LogRoad& road);

}  // namespace t740::alerter

#endif
