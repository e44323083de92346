// A LogQuery as SQL over the entries table: its filters as bound
// parameters, newest first by id, one page.
#ifndef T740_ALERTER_HISTORY_LOG_SEARCH_H
#define T740_ALERTER_HISTORY_LOG_SEARCH_H

#include <sqlite3.h>

#include <vector>

#include "alerter/history/log_entry.h"
#include "alerter/history/log_query.h"

namespace t740::alerter {

// Throws SqliteError.
std::vector<LogEntry> SearchLog(sqlite3* db, const LogQuery& query);

}  // namespace t740::alerter

#endif
