#include "alerter/history/log_retention.h"

#include <sys/stat.h>

#include "alerter/history/log_row.h"
#include "alerter/history/sqlite_handle.h"

namespace t740::alerter {
namespace {

// Deletes go in chunks, each its own transaction, so that a batch of new
// entries waits for one chunk at most.
constexpr int64_t kAgeChunk = 10000;
// Each pass by size aims at the excess and a percent more; a few passes
// make up for rows of unequal sizes.
constexpr int kSizePasses = 8;

int64_t FileBytes(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? static_cast<int64_t>(status.st_size) : 0;
}

int64_t Changed(sqlite3* db) {
  return sqlite3_changes64(db);
}

int64_t DeleteOlder(sqlite3* db, int64_t cutoffMs) {
  Statement remove(db,
                   "DELETE FROM entries WHERE id IN (SELECT id FROM entries"
                   " WHERE card_time_ms < ? LIMIT ?)");
  int64_t deleted = 0;
  for (;;) {
    remove.Reset();
    remove.Bind(1, cutoffMs);
    remove.Bind(2, kAgeChunk);
    remove.Step();
    const int64_t chunk = Changed(db);
    deleted += chunk;
    if (chunk < kAgeChunk) return deleted;
  }
}

int64_t DeleteOldest(sqlite3* db, int64_t rows) {
  Statement remove(db,
                   "DELETE FROM entries WHERE id IN (SELECT id FROM entries ORDER BY id LIMIT ?)");
  remove.Bind(1, rows);
  remove.Step();
  return Changed(db);
}

// The freed pages leave the file, and the write-ahead log is emptied.
void Shrink(sqlite3* db) {
  Execute(db, "PRAGMA incremental_vacuum");
  Execute(db, "PRAGMA wal_checkpoint(TRUNCATE)");
}

int64_t RowsOverSize(sqlite3* db, int64_t bytes, int64_t limit) {
  const int64_t rows = QueryInteger(db, "SELECT count(*) FROM entries");
  return rows * (bytes - limit) / bytes + rows / 100 + 1;
}

}  // namespace

int64_t LogFileBytes(const std::string& path) {
  return FileBytes(path) + FileBytes(path + "-wal");
}

int64_t ApplyRetention(sqlite3* db, const std::string& path, const LogRetention& retention,
                       std::chrono::system_clock::time_point now) {
  int64_t deleted = DeleteOlder(db, MillisecondsOf(now - retention.age));
  // The write-ahead log or free pages may be all of the excess.
  if (deleted > 0 || LogFileBytes(path) > retention.bytes) Shrink(db);
  for (int pass = 0; pass < kSizePasses; ++pass) {
    const int64_t bytes = LogFileBytes(path);
    if (bytes <= retention.bytes) break;
    const int64_t chunk = DeleteOldest(db, RowsOverSize(db, bytes, retention.bytes));
    deleted += chunk;
    Shrink(db);
    if (chunk == 0) break;
  }
  return deleted;
}

}  // namespace t740::alerter
