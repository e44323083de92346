#include "alerter/history/log_schema.h"

#include <iterator>
#include <stdexcept>
#include <string>

#include "alerter/history/sqlite_handle.h"

namespace t740::alerter {
namespace {

struct SchemaStep {
  int version;
  const char* sql;
};

// auto_vacuum only takes before the first table: the retention's deletes
// give their pages back to the file system by PRAGMA incremental_vacuum.
// SQLite appends the id to every index, so an index on a column alone walks
// its entries newest first and a page stops after `limit` of them; on a log
// of a million (bench/alarm_log_bench) (card, card_time_ms) and (instance,
// card_time_ms) took 40-75 ms for a first page, sorting a card's 50 000
// entries, where (card) and (instance) take 0.1 ms. An alarm matches a
// quarter of the log: (alarm) serves it alone, (alarm, card_time_ms) within
// a time range (85 ms by (alarm) alone, 3 ms so).
constexpr SchemaStep kSteps[] = {
    {1,
     "PRAGMA auto_vacuum = INCREMENTAL;"
     "CREATE TABLE entries ("
     "  id INTEGER PRIMARY KEY,"
     "  kind TEXT NOT NULL,"
     "  instance TEXT NOT NULL,"
     "  card TEXT NOT NULL,"
     "  port TEXT NOT NULL,"
     "  alarm TEXT NOT NULL,"
     "  severity TEXT NOT NULL,"
     "  card_time_ms INTEGER NOT NULL,"
     "  learnt_ms INTEGER NOT NULL,"
     "  road TEXT NOT NULL,"
     "  who TEXT NOT NULL,"
     "  comment TEXT NOT NULL);"},
    {2,
     "CREATE INDEX entries_by_time ON entries (card_time_ms);"
     "CREATE INDEX entries_by_card ON entries (card);"
     "CREATE INDEX entries_by_instance ON entries (instance);"
     "CREATE INDEX entries_by_alarm ON entries (alarm);"
     "CREATE INDEX entries_by_alarm_time ON entries (alarm, card_time_ms);"},
};

// A deferred BEGIN: an immediate one writes the new file's first page,
// after which auto_vacuum no longer takes.
void TakeStep(sqlite3* db, const SchemaStep& step) {
  Execute(db, "BEGIN");
  try {
    Execute(db, step.sql);
    Execute(db, ("PRAGMA user_version = " + std::to_string(step.version)).c_str());
    Execute(db, "COMMIT");
  } catch (const SqliteError&) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

}  // namespace

int LogSchemaVersion() {
  return std::end(kSteps)[-1].version;
}

void MigrateLog(sqlite3* db) {
  const int64_t version = QueryInteger(db, "PRAGMA user_version");
  if (version > LogSchemaVersion()) {
    throw std::runtime_error("its schema is version " + std::to_string(version) +
                             ", newer than this t740-alerter knows (" +
                             std::to_string(LogSchemaVersion()) +
                             "); run a newer t740-alerter or move the file away");
  }
  for (const SchemaStep& step : kSteps) {
    if (step.version > version) TakeStep(db, step);
  }
}

}  // namespace t740::alerter
