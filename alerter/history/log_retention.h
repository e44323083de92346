// The log's retention pass: entries whose card time is older than the age
// go, then, while the file and its write-ahead log are over the size, the
// oldest go in chunks, and the freed pages are given back so that the file
// shrinks. On the writer's connection, between its batches.
#ifndef T740_ALERTER_HISTORY_LOG_RETENTION_H
#define T740_ALERTER_HISTORY_LOG_RETENTION_H

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "alerter/history/alarm_log.h"

namespace t740::alerter {

// The bytes of the database file and its -wal beside it.
int64_t LogFileBytes(const std::string& path);

// Throws SqliteError. Answers the entries deleted.
int64_t ApplyRetention(sqlite3* db, const std::string& path, const LogRetention& retention,
                       std::chrono::system_clock::time_point now);

}  // namespace t740::alerter

#endif
