#include "alerter/history/alarm_log.h"

#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "alerter/history/log_retention.h"
#include "alerter/history/log_row.h"
#include "alerter/history/log_schema.h"
#include "alerter/history/log_search.h"
#include "alerter/history/sqlite_handle.h"

namespace t740::alerter {
namespace {

using Clock = std::chrono::system_clock;

constexpr char kFileName[] = "alarm-log.sqlite3";
constexpr auto kRetentionEvery = std::chrono::minutes(5);
// The write-ahead log is cut back to this after a checkpoint that emptied
// it, so that a storm's peak does not stay on the disk.
constexpr char kWalLimit[] = "PRAGMA journal_size_limit = 67108864";

void PrepareDirectory(const std::filesystem::path& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) throw std::runtime_error("cannot create its directory: " + error.message());
  if (access(directory.c_str(), W_OK | X_OK) != 0) {
    throw std::runtime_error("its directory is not writable");
  }
}

void CheckIntegrity(sqlite3* db) {
  Statement check(db, "PRAGMA quick_check");
  std::string verdict = check.Step() ? check.Text(0) : "no answer";
  std::replace(verdict.begin(), verdict.end(), '\n', ' ');
  if (verdict != "ok") throw std::runtime_error("it fails PRAGMA quick_check: " + verdict);
}

// A committed transaction is in the write-ahead log before COMMIT returns:
// a killed process loses none; synchronous=NORMAL syncs only at
// checkpoints, so a power loss may take the last commits.
void SetWriteAhead(sqlite3* db) {
  Statement mode(db, "PRAGMA journal_mode = WAL");
  if (!mode.Step() || mode.Text(0) != "wal") {
    throw std::runtime_error("its file system does not take write-ahead logging");
  }
  Execute(db, "PRAGMA synchronous = NORMAL");
  Execute(db, kWalLimit);
}

// One caller's entries, waiting for their batch's commit.
struct Waiter {
  std::vector<LogEntry>* entries;
  bool done = false;
  bool kept = false;
};

class SqliteAlarmLog : public AlarmLog {
 public:
  SqliteAlarmLog(std::string path, LogRetention retention, SqliteDb writer, SqliteDb reader)
      : path_(std::move(path)),
        retention_(retention),
        writer_(std::move(writer)),
        insert_(writer_.get(), kLogInsert),
        reader_(std::move(reader)),
        thread_([this] { Write(); }) {}

  ~SqliteAlarmLog() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }

  bool Record(std::vector<LogEntry>& entries) override {
    if (entries.empty()) return true;
    std::unique_lock<std::mutex> lock(mutex_);
    if (!lastError_.empty() || stopping_) {
      gap_ += entries.size();
      return false;
    }
    Waiter waiter{&entries};
    pending_.push_back(&waiter);
    wake_.notify_one();
    committed_.wait(lock, [&] { return waiter.done; });
    return waiter.kept;
  }

  std::vector<LogEntry> Query(const LogQuery& query) const override {
    std::lock_guard<std::mutex> lock(readMutex_);
    try {
      return SearchLog(reader_.get(), query);
    } catch (const SqliteError&) {
      return {};
    }
  }

  AlarmLogHealth Health() const override {
    std::lock_guard<std::mutex> lock(mutex_);
    return {lastError_.empty(), lastError_, kept_, gap_};
  }

  std::string Path() const override { return path_; }

 private:
  // The writer thread: every entry waiting goes in one transaction; the
  // retention runs when nothing waits and its time has come.
  void Write() {
    auto nextRetention = Clock::now() + kRetentionEvery;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait_until(lock, nextRetention, [&] { return stopping_ || !pending_.empty(); });
      if (pending_.empty() && stopping_) return;
      std::vector<Waiter*> batch;
      batch.swap(pending_);
      const bool failed = !lastError_.empty();
      lock.unlock();
      std::string error = failed ? "" : Commit(batch);
      if (batch.empty() && !failed && Clock::now() >= nextRetention) {
        error = Retain();
        nextRetention = Clock::now() + kRetentionEvery;
      }
      lock.lock();
      Settle(batch, !failed && error.empty());
      if (!error.empty() && lastError_.empty()) lastError_ = error;
      committed_.notify_all();
    }
  }

  // The reason the batch could not be kept, or an empty text.
  std::string Commit(const std::vector<Waiter*>& batch) {
    if (batch.empty()) return "";
    try {
      Execute(writer_.get(), "BEGIN IMMEDIATE");
      for (Waiter* waiter : batch) Insert(*waiter->entries);
      Execute(writer_.get(), "COMMIT");
      return "";
    } catch (const SqliteError& error) {
      sqlite3_exec(writer_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
      for (Waiter* waiter : batch) {
        for (LogEntry& entry : *waiter->entries) entry.id = 0;
      }
      return error.what();
    }
  }

  void Insert(std::vector<LogEntry>& entries) {
    for (LogEntry& entry : entries) {
      insert_.Reset();
      BindEntry(insert_, entry);
      insert_.Step();
      entry.id = sqlite3_last_insert_rowid(writer_.get());
    }
  }

  std::string Retain() {
    try {
      ApplyRetention(writer_.get(), path_, retention_, Clock::now());
      return "";
    } catch (const SqliteError& error) {
      return error.what();
    }
  }

  // Under mutex_.
  void Settle(const std::vector<Waiter*>& batch, bool kept) {
    for (Waiter* waiter : batch) {
      waiter->done = true;
      waiter->kept = kept;
      (kept ? kept_ : gap_) += waiter->entries->size();
    }
  }

  const std::string path_;
  const LogRetention retention_;
  SqliteDb writer_;
  Statement insert_;  // after the connection it is of
  mutable std::mutex readMutex_;
  SqliteDb reader_;  // under readMutex_
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable committed_;
  std::vector<Waiter*> pending_;
  bool stopping_ = false;
  std::string lastError_;  // set once: the log has failed
  uint64_t kept_ = 0;
  uint64_t gap_ = 0;
  std::thread thread_;  // last: it uses all the above
};

SqliteDb OpenWriter(const std::string& path, const LogRetention& retention) {
  SqliteDb db = OpenSqlite(path);
  CheckIntegrity(db.get());
  MigrateLog(db.get());
  SetWriteAhead(db.get());
  ApplyRetention(db.get(), path, retention, Clock::now());
  return db;
}

SqliteDb OpenReader(const std::string& path) {
  SqliteDb db = OpenSqlite(path);
  Execute(db.get(), "PRAGMA query_only = 1");
  return db;
}

}  // namespace

std::unique_ptr<AlarmLog> AlarmLog::Open(const std::string& directory, LogRetention retention) {
  const std::filesystem::path path = std::filesystem::path(directory) / kFileName;
  try {
    PrepareDirectory(directory);
    SqliteDb writer = OpenWriter(path, retention);
    return std::make_unique<SqliteAlarmLog>(path, retention, std::move(writer), OpenReader(path));
  } catch (const std::exception& error) {
    throw AlarmLogError("cannot open the alarm log " + path.string() + ": " + error.what());
  }
}

}  // namespace t740::alerter
