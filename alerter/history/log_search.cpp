#include "alerter/history/log_search.h"

#include <functional>
#include <string>

#include "alerter/history/log_row.h"

namespace t740::alerter {
namespace {

// A filter's condition and the value bound to its one parameter.
struct Condition {
  const char* sql;
  std::function<void(Statement&, int)> bind;
};

template <typename Value>
void AddIf(std::vector<Condition>& conditions, const char* sql, const std::optional<Value>& value) {
  if (!value) return;
  conditions.push_back({sql, [value](Statement& statement, int index) {
                          if constexpr (std::is_same_v<Value, std::string> ||
                                        std::is_same_v<Value, int64_t>) {
                            statement.Bind(index, *value);
                          } else {
                            statement.Bind(index, MillisecondsOf(*value));
                          }
                        }});
}

std::vector<Condition> ConditionsOf(const LogQuery& query) {
  std::vector<Condition> conditions;
  AddIf(conditions, "card = ?", query.card);
  AddIf(conditions, "instance = ?", query.instance);
  AddIf(conditions, "port = ?", query.port);
  AddIf(conditions, "alarm = ?", query.alarm);
  AddIf(conditions, "card_time_ms >= ?", query.from);
  AddIf(conditions, "card_time_ms < ?", query.to);
  AddIf(conditions, "id < ?", query.before);
  return conditions;
}

std::string SqlOf(const std::vector<Condition>& conditions) {
  std::string sql = kLogSelect;
  for (size_t i = 0; i < conditions.size(); ++i) {
    sql += (i == 0 ? " WHERE " : " AND ");
    sql += conditions[i].sql;
  }
  return sql + " ORDER BY id DESC LIMIT ?";
}

}  // namespace

std::vector<LogEntry> SearchLog(sqlite3* db, const LogQuery& query) {
  const std::vector<Condition> conditions = ConditionsOf(query);
  Statement select(db, SqlOf(conditions));
  int index = 1;
  for (const Condition& condition : conditions) condition.bind(select, index++);
  select.Bind(index, int64_t{query.limit});
  std::vector<LogEntry> entries;
  while (select.Step()) entries.push_back(EntryOfRow(select));
  return entries;
}

}  // namespace t740::alerter
