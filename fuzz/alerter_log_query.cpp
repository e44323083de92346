// The alarm log's search from the page's query parameters, as arbitrary
// pairs: the input split on NUL into parameters and each at its first '='
// into name and value. Every query taken is within its bounds and says
// what each parameter given asked; every refusal is one line.
#include <algorithm>
#include <map>
#include <string>
#include <string_view>

#include "alerter/history/log_query.h"
#include "fuzz_input.h"
#include "protocol/alarm_names.h"

namespace {

using t740::alerter::LogQuery;

std::multimap<std::string, std::string> ParametersOf(std::string_view text) {
  std::multimap<std::string, std::string> parameters;
  for (int i = 0; i < 64 && !text.empty(); ++i) {
    const size_t end = std::min(text.find('\0'), text.size());
    const std::string_view pair = text.substr(0, end);
    const size_t equals = std::min(pair.find('='), pair.size());
    parameters.emplace(std::string(pair.substr(0, equals)),
                       std::string(pair.substr(std::min(equals + 1, pair.size()))));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return parameters;
}

bool Digits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool AlarmNamed(const std::string& name) {
  for (const char* known : t740::protocol::kSectionAlarmNames) {
    if (name == known) return true;
  }
  return false;
}

void CheckAgent(const std::string& agent) {
  const size_t colon = agent.rfind(':');
  FUZZ_CHECK(colon != std::string::npos);
  const std::string address = agent.substr(0, colon);
  const std::string port = agent.substr(colon + 1);
  FUZZ_CHECK(address.find_first_not_of("0123456789.") == std::string::npos);
  FUZZ_CHECK(std::count(address.begin(), address.end(), '.') == 3);
  FUZZ_CHECK(Digits(port) && port.size() <= 5);
  FUZZ_CHECK(std::stoi(port) >= 1 && std::stoi(port) <= 65535);
}

void CheckTaken(const LogQuery& query, const std::multimap<std::string, std::string>& given) {
  FUZZ_CHECK(given.count("card") == (query.card ? 1u : 0u));
  FUZZ_CHECK(given.count("agent") == (query.instance ? 1u : 0u));
  FUZZ_CHECK(given.count("port") == (query.port ? 1u : 0u));
  FUZZ_CHECK(given.count("alarm") == (query.alarm ? 1u : 0u));
  FUZZ_CHECK(given.count("from") == (query.from ? 1u : 0u));
  FUZZ_CHECK(given.count("to") == (query.to ? 1u : 0u));
  FUZZ_CHECK(given.count("before") == (query.before ? 1u : 0u));
  FUZZ_CHECK(given.size() <= 8);
  if (query.card)
    FUZZ_CHECK(Digits(*query.card) && query.card->size() >= 2 && query.card->size() <= 4);
  if (query.instance) CheckAgent(*query.instance);
  if (query.port)
    FUZZ_CHECK(query.port->size() == 1 && (*query.port)[0] >= 'A' && (*query.port)[0] <= 'D');
  if (query.alarm) FUZZ_CHECK(AlarmNamed(*query.alarm));
  if (query.from && query.to) FUZZ_CHECK(*query.from < *query.to);
  if (query.before) FUZZ_CHECK(*query.before >= 1);
  FUZZ_CHECK(query.limit >= 1 && query.limit <= t740::alerter::kLogPageMaximum);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto parameters = ParametersOf(std::string_view(reinterpret_cast<const char*>(data), size));
  const auto parsed = t740::alerter::ParseLogQuery(parameters);
  if (const auto* why = std::get_if<std::string>(&parsed)) {
    FUZZ_CHECK(!why->empty());
    FUZZ_CHECK(why->find('\n') == std::string::npos);
    return 0;
  }
  CheckTaken(std::get<LogQuery>(parsed), parameters);
  return 0;
}
