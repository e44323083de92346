#include "alerter/history/log_entry.h"

namespace t740::alerter {
namespace {

template <typename Value>
struct Named {
  Value value;
  const char* name;
};

constexpr Named<LogKind> kKinds[] = {{LogKind::Raised, "raised"},
                                     {LogKind::Cleared, "cleared"},
                                     {LogKind::Acknowledged, "acknowledged"},
                                     {LogKind::Unacknowledged, "unacknowledged"}};
constexpr Named<LogRoad> kRoads[] = {{LogRoad::Notification, "notification"},
                                     {LogRoad::Round, "round"},
                                     {LogRoad::StartUp, "start-up"},
                                     {LogRoad::Operator, "operator"}};

template <typename Value, size_t N>
const char* NameOf(const Named<Value> (&table)[N], Value value) {
  for (const Named<Value>& entry : table) {
    if (entry.value == value) return entry.name;
  }
  return "";
}

template <typename Value, size_t N>
bool ValueOf(const Named<Value> (&table)[N], const std::string& name, Value& value) {
  for (const Named<Value>& entry : table) {
    if (name == entry.name) {
      value = entry.value;
      return true;
    }
  }
  return false;
}

}  // namespace

const char* LogKindName(LogKind kind) {
  return NameOf(kKinds, kind);
}
bool LogKindNamed(const std::string& name, LogKind& kind) {
  return ValueOf(kKinds, name, kind);
}
const char* LogRoadName(LogRoad road) {
  return NameOf(kRoads, road);
}
bool LogRoadNamed(const std::string& name, LogRoad& road) {
  return ValueOf(kRoads, name, road);
}

}  // namespace t740::alerter
