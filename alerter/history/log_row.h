// A log entry as a row of the entries table and back: the columns in one
// order for the writer's INSERT and the searches' SELECT; times as
// milliseconds since the epoch, kinds and roads by name.
#ifndef T740_ALERTER_HISTORY_LOG_ROW_H
#define T740_ALERTER_HISTORY_LOG_ROW_H

#include "alerter/history/log_entry.h"
#include "alerter/history/sqlite_handle.h"

namespace t740::alerter {

// Every column but the id, which SQLite gives.
extern const char kLogInsert[];
// "SELECT id, ... FROM entries", for a search to go on from.
extern const char kLogSelect[];

void BindEntry(Statement& insert, const LogEntry& entry);
LogEntry EntryOfRow(const Statement& select);

int64_t MillisecondsOf(std::chrono::system_clock::time_point time);

}  // namespace t740::alerter

#endif
