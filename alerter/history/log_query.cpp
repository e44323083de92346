#include "alerter/history/log_query.h"

#include <cstdint>
#include <stdexcept>

#include "alerter/alertmanager/rfc3339.h"
#include "protocol/alarm_names.h"

namespace t740::alerter {
namespace {

// Each store answers the reason a value is refused, or an empty text.
using Store = std::string (*)(LogQuery& query, const std::string& value);

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// A decimal number from `low` to `high`, without leading zeros.
bool NumberWithin(const std::string& text, int64_t low, int64_t high, int64_t& number) {
  if (!AllDigits(text) || text.size() > 18 || (text.size() > 1 && text[0] == '0')) return false;
  number = std::stoll(text);
  return number >= low && number <= high;
}

bool Ipv4(const std::string& text) {
  size_t start = 0;
  for (int octet = 0; octet < 4; ++octet) {
    const size_t end = octet < 3 ? text.find('.', start) : text.size();
    int64_t value = 0;
    if (end == std::string::npos || !NumberWithin(text.substr(start, end - start), 0, 255, value)) {
      return false;
    }
    start = end + 1;
  }
  return true;
}

std::string StoreCard(LogQuery& query, const std::string& value) {
  if (!AllDigits(value) || value.size() < 2 || value.size() > 4) return "is not 2 to 4 digits";
  query.card = value;
  return "";
}

std::string StoreAgent(LogQuery& query, const std::string& value) {
  const size_t colon = value.rfind(':');
  int64_t port = 0;
  if (colon == std::string::npos || !Ipv4(value.substr(0, colon)) ||
      !NumberWithin(value.substr(colon + 1), 1, 65535, port)) {
    return "is not an IPv4 ADDRESS:PORT";
  }
  query.instance = value;
  return "";
}

std::string StorePort(LogQuery& query, const std::string& value) {
  if (value.size() != 1 || value[0] < 'A' || value[0] > 'D') return "is not a port A to D";
  query.port = value;
  return "";
}

std::string StoreAlarm(LogQuery& query, const std::string& value) {
  for (const char* name : protocol::kSectionAlarmNames) {
    if (value == name) {
      query.alarm = value;
      return "";
    }
  }
  return "is not an alarm the card reports (RS-TIM, STM-LOS, STM-LOF, RS-OOF)";
}

std::string StoreTime(std::optional<std::chrono::system_clock::time_point>& time,
                      const std::string& value) {
  try {
    time = ParseRfc3339(value);
    return "";
  } catch (const std::exception&) {
    return "is not an RFC 3339 time";
  }
}

std::string StoreFrom(LogQuery& query, const std::string& value) {
  return StoreTime(query.from, value);
}

std::string StoreTo(LogQuery& query, const std::string& value) {
  return StoreTime(query.to, value);
}

std::string StoreBefore(LogQuery& query, const std::string& value) {
  int64_t before = 0;
  if (!NumberWithin(value, 1, INT64_MAX, before)) return "is not a positive whole number";
  query.before = before;
  return "";
}

std::string StoreLimit(LogQuery& query, const std::string& value) {
  int64_t limit = 0;
  if (!NumberWithin(value, 1, kLogPageMaximum, limit)) return "is not a whole number from 1 to 500";
  query.limit = static_cast<int>(limit);
  return "";
}

struct Parameter {
  const char* name;
  Store store;
};

constexpr Parameter kParameters[] = {
    {"card", StoreCard}, {"agent", StoreAgent}, {"port", StorePort},     {"alarm", StoreAlarm},
    {"from", StoreFrom}, {"to", StoreTo},       {"before", StoreBefore}, {"limit", StoreLimit},
};

const Parameter* FindParameter(const std::string& name) {
  for (const Parameter& parameter : kParameters) {
    if (name == parameter.name) return &parameter;
  }
  return nullptr;
}

// Names and values are echoed in the reason, cut short and on one line.
std::string Quoted(const std::string& text) {
  constexpr size_t kShown = 40;
  std::string shown;
  for (const char c : text.substr(0, kShown)) {
    shown += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
  }
  return "'" + shown + (text.size() > kShown ? "...'" : "'");
}

}  // namespace

std::variant<LogQuery, std::string> ParseLogQuery(
    const std::multimap<std::string, std::string>& parameters) {
  LogQuery query;
  for (const auto& [name, value] : parameters) {
    const Parameter* parameter = FindParameter(name);
    if (!parameter) return "unknown parameter " + Quoted(name);
    if (parameters.count(name) > 1) return "parameter " + Quoted(name) + " is given twice";
    const std::string why = parameter->store(query, value);
    if (!why.empty()) return name + " " + Quoted(value) + " " + why;
  }
  if (query.from && query.to && *query.from >= *query.to) return "from is not before to";
  return query;
}

}  // namespace t740::alerter
