// The alarm log's tables, versioned in PRAGMA user_version: each version is
// a step from the one before, so that a file of any older version is
// brought forward at open and a new file takes every step.
#ifndef T740_ALERTER_HISTORY_LOG_SCHEMA_H
#define T740_ALERTER_HISTORY_LOG_SCHEMA_H

#include <sqlite3.h>

namespace t740::alerter {

// The version this program writes.
int LogSchemaVersion();

// Takes the steps from the file's version to LogSchemaVersion(), each in a
// transaction of its own. Throws std::runtime_error for a file of a newer
// version, SqliteError when a step fails.
void MigrateLog(sqlite3* db);

}  // namespace t740::alerter

#endif
