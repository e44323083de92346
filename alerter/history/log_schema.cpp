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
// The indexes serve the page's filters, each with the card's time for a
// range; SQLite appends the id to every index.
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
     "CREATE INDEX entries_by_card ON entries (card, card_time_ms);"
     "CREATE INDEX entries_by_instance ON entries (instance, card_time_ms);"
     "CREATE INDEX entries_by_alarm ON entries (alarm, card_time_ms);"},
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
