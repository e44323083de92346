// The kept alarm log: SQLite in one file under the storage directory, in
// write-ahead mode, its schema versioned (PRAGMA user_version) and migrated
// forward at open. Writes are batched by one writer thread: Record waits
// until its entries are committed (several callers share a commit), so an
// entry the alerter goes on to post is in the file even if the process is
// killed the next moment. Old entries go by age and by the file's size.
// A log that fails (disk full, read-only, corrupt) does not stop the
// alerter: Record returns at once and the entries it could not keep are
// counted as the log's gap. Any thread.
#ifndef T740_ALERTER_HISTORY_ALARM_LOG_H
#define T740_ALERTER_HISTORY_ALARM_LOG_H

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "alerter/history/log_entry.h"
#include "alerter/history/log_query.h"

namespace t740::alerter {

struct LogRetention {
  std::chrono::hours age{24 * 90};  // entries older than this go
  int64_t bytes = 1LL << 30;        // beyond this size the oldest go
};

// Why the log cannot be opened, naming its file.
class AlarmLogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct AlarmLogHealth {
  bool writable = true;
  std::string lastError;  // empty while all is well
  uint64_t kept = 0;      // entries committed since start
  uint64_t gap = 0;       // entries that could not be kept
};

class AlarmLog {
 public:
  // Opens (or creates) DIRECTORY/alarm-log.sqlite3 and migrates it. Throws
  // AlarmLogError saying what is wrong with the file and where.
  static std::unique_ptr<AlarmLog> Open(const std::string& directory, LogRetention retention);
  virtual ~AlarmLog() = default;

  // Keeps the entries, waiting for their commit; their ids are set. False
  // when they could not be kept (counted in the gap).
  virtual bool Record(std::vector<LogEntry>& entries) = 0;
  // Newest first.
  virtual std::vector<LogEntry> Query(const LogQuery& query) const = 0;
  virtual AlarmLogHealth Health() const = 0;
  virtual std::string Path() const = 0;
};

}  // namespace t740::alerter

#endif
