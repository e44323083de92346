#include "alerter/history/alarm_log.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include <gtest/gtest.h>

namespace t740::alerter {
namespace {

using Clock = std::chrono::system_clock;
using std::chrono::hours;
namespace fs = std::filesystem;

constexpr char kFile[] = "alarm-log.sqlite3";

class TempDirectory {
 public:
  TempDirectory() {
    char pattern[] = "/tmp/t740-alarm-log-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDirectory() { fs::remove_all(path_); }
  const std::string& Path() const { return path_; }
  std::string File() const { return path_ + "/" + kFile; }

 private:
  std::string path_;
};

LogEntry Change(const std::string& card, Clock::time_point cardTime,
                const std::string& comment = "") {
  LogEntry entry;
  entry.instance = "127.0.0.2:16100";
  entry.card = card;
  entry.port = "B";
  entry.alarm = "STM-LOS";
  entry.severity = "critical";
  entry.cardTime = cardTime;
  entry.learnt = cardTime;
  entry.road = LogRoad::Notification;
  entry.comment = comment;
  return entry;
}

void Sql(const std::string& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int code = sqlite3_exec(db, sql, nullptr, nullptr, &error);
  const std::string why = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(code, SQLITE_OK) << why;
}

int64_t SqlInteger(const std::string& file, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
  const int64_t value =
      sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return value;
}

// Version 1 as the first t740-alerter that kept a log wrote it.
constexpr char kVersionOne[] =
    "PRAGMA auto_vacuum = INCREMENTAL;"
    "CREATE TABLE entries (id INTEGER PRIMARY KEY, kind TEXT NOT NULL, instance TEXT NOT NULL,"
    " card TEXT NOT NULL, port TEXT NOT NULL, alarm TEXT NOT NULL, severity TEXT NOT NULL,"
    " card_time_ms INTEGER NOT NULL, learnt_ms INTEGER NOT NULL, road TEXT NOT NULL,"
    " who TEXT NOT NULL, comment TEXT NOT NULL);"
    "INSERT INTO entries VALUES (7, 'raised', '127.0.0.3:161', '0102', 'A', 'STM-LOF', 'critical',"
    " 1700000000000, 1700000000250, 'round', '', '');"
    "INSERT INTO entries VALUES (8, 'acknowledged', '127.0.0.3:161', '0102', 'A', 'STM-LOF', '',"
    " 1700000001000, 1700000001000, 'operator', 'ana', 'fibre cut, crew sent');"
    "INSERT INTO entries VALUES (9, 'cleared', '127.0.0.4:161', '0103', 'C', 'RS-TIM', 'major',"
    " 1700000002000, 1700000002000, 'notification', '', '');"
    "PRAGMA user_version = 1;";

TEST(AlarmLogSchema, VersionOneIsMigratedAndItsEntriesFoundByFilter) {
  const TempDirectory directory;
  Sql(directory.File(), kVersionOne);
  {
    // Its times are of 2023: kept for 50 years.
    const auto log = AlarmLog::Open(directory.Path(), {hours(24 * 365 * 50), 1LL << 30});
    LogQuery query;
    query.card = "0102";
    query.from = Clock::time_point(std::chrono::milliseconds(1700000000500));
    const std::vector<LogEntry> found = log->Query(query);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].id, 8);
    EXPECT_EQ(found[0].kind, LogKind::Acknowledged);
    EXPECT_EQ(found[0].road, LogRoad::Operator);
    EXPECT_EQ(found[0].who, "ana");
    EXPECT_EQ(found[0].comment, "fibre cut, crew sent");
    std::vector<LogEntry> more{Change("0102", Clock::now())};
    ASSERT_TRUE(log->Record(more));
    EXPECT_EQ(more[0].id, 10);
  }
  EXPECT_EQ(SqlInteger(directory.File(), "PRAGMA user_version"), 2);
  EXPECT_EQ(SqlInteger(directory.File(), "SELECT count(*) FROM sqlite_master WHERE type = 'index'"),
            5);
}

std::string SqlText(const std::string& file, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
  std::string value = "no row";
  if (sqlite3_step(statement) == SQLITE_ROW) {
    value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return value;
}

void WriteFile(const std::string& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// A page in the midst of a table of 2000 rows, overwritten.
void MakeCorrupt(const std::string& file) {
  Sql(file,
      "CREATE TABLE entries (id INTEGER PRIMARY KEY, comment TEXT);"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
      " INSERT INTO entries SELECT i, printf('%.200c', 'x') FROM n;");
  std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
  out.seekp(4096 * 40);
  out << std::string(4096, '\xa5');
}

struct BadStore {
  const char* name;
  void (*make)(const std::string& directory);
  const char* subdirectory;  // the directory Open is given, under the temporary one
  const char* reason;
};

const BadStore kBadStores[] = {
    {"newer version",
     [](const std::string& directory) {
       Sql(directory + "/" + kFile, "CREATE TABLE t (x); PRAGMA user_version = 3;");
     },
     "", "its schema is version 3, newer than this t740-alerter knows (2)"},
    {"not a database",
     [](const std::string& directory) {
       WriteFile(directory + "/" + kFile, std::string(8192, 'x'));
     },
     "", "file is not a database"},
    {"corrupt", [](const std::string& directory) { MakeCorrupt(directory + "/" + kFile); }, "",
     "it fails PRAGMA quick_check: *** in database main *** Page 41"},
    {"directory under a file",
     [](const std::string& directory) { WriteFile(directory + "/plain", "x"); }, "/plain/log",
     "cannot create its directory"},
};

TEST(AlarmLogOpen, RefusesNamingThePathAndTheReason) {
  for (const BadStore& bad : kBadStores) {
    SCOPED_TRACE(bad.name);
    const TempDirectory directory;
    bad.make(directory.Path());
    const std::string where = directory.Path() + bad.subdirectory;
    try {
      AlarmLog::Open(where, {});
      ADD_FAILURE() << "opened";
    } catch (const AlarmLogError& error) {
      const std::string what = error.what();
      EXPECT_NE(what.find(where + "/" + kFile), std::string::npos) << what;
      EXPECT_NE(what.find(bad.reason), std::string::npos) << what;
    }
  }
}

TEST(AlarmLogQuery, PagesNewestFirstWithinTheFilters) {
  const TempDirectory directory;
  const auto log = AlarmLog::Open(directory.Path(), {});
  const Clock::time_point start = Clock::now() - hours(1);
  for (int i = 0; i < 40; ++i) {
    std::vector<LogEntry> entries{Change("0101", start + std::chrono::seconds(i)),
                                  Change("0102", start + std::chrono::seconds(i)),
                                  Change("0101", start + std::chrono::seconds(i))};
    entries[2].port = "D";
    ASSERT_TRUE(log->Record(entries));
  }
  LogQuery query;
  query.card = "0101";
  query.port = "B";
  query.from = start + std::chrono::seconds(5);
  query.to = start + std::chrono::seconds(35);
  query.limit = 20;
  std::vector<int64_t> ids;
  for (int page = 0; page < 5; ++page) {
    const std::vector<LogEntry> found = log->Query(query);
    for (const LogEntry& entry : found) {
      EXPECT_EQ(entry.card + entry.port, "0101B");
      ids.push_back(entry.id);
    }
    if (found.empty()) break;
    query.before = found.back().id;
  }
  ASSERT_EQ(ids.size(), 30u);
  EXPECT_TRUE(std::is_sorted(ids.rbegin(), ids.rend()));
  EXPECT_EQ(std::set<int64_t>(ids.begin(), ids.end()).size(), 30u);
  EXPECT_EQ(log->Health().kept, 120u);
}

// The storm in a child: threads keep 1 to 3 entries a call, and each id
// goes down the pipe once its Record has returned.
[[noreturn]] void RecordStorm(const std::string& directory, int pipe) {
  const auto log = AlarmLog::Open(directory, {});
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 1000000; ++i) {
        std::vector<LogEntry> entries(1 + (i + t) % 3, Change("0101", Clock::now()));
        if (!log->Record(entries)) _exit(3);
        std::vector<int64_t> ids;
        for (const LogEntry& entry : entries) ids.push_back(entry.id);
        const auto bytes = static_cast<ssize_t>(ids.size() * sizeof ids[0]);
        if (write(pipe, ids.data(), static_cast<size_t>(bytes)) != bytes) _exit(4);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  _exit(5);
}

// Reads ids until `enough` arrived, or the pipe ends, or the deadline.
void ReadIds(int pipe, std::vector<int64_t>& ids, size_t enough, Clock::time_point deadline) {
  std::string bytes;
  while (ids.size() < enough && Clock::now() < deadline) {
    pollfd ready{pipe, POLLIN, 0};
    if (poll(&ready, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t got = read(pipe, buffer, sizeof buffer);
    if (got <= 0) return;
    bytes.append(buffer, static_cast<size_t>(got));
    while (bytes.size() >= sizeof(int64_t)) {
      int64_t id = 0;
      bytes.copy(reinterpret_cast<char*>(&id), sizeof id);
      bytes.erase(0, sizeof id);
      ids.push_back(id);
    }
  }
}

TEST(AlarmLogCrash, EveryReportedIdSurvivesSigkillMidStorm) {
  const TempDirectory directory;
  int pipes[2];
  ASSERT_EQ(pipe(pipes), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipes[0]);
    RecordStorm(directory.Path(), pipes[1]);
  }
  close(pipes[1]);
  std::vector<int64_t> reported;
  ReadIds(pipes[0], reported, 5000, Clock::now() + std::chrono::seconds(60));
  kill(child, SIGKILL);
  ReadIds(pipes[0], reported, SIZE_MAX, Clock::now() + std::chrono::seconds(10));
  close(pipes[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the storm ended before the kill: " << status;
  ASSERT_GE(reported.size(), 5000u);

  const auto log = AlarmLog::Open(directory.Path(), {});
  EXPECT_EQ(SqlText(log->Path(), "PRAGMA quick_check"), "ok");
  std::set<int64_t> kept;
  LogQuery query;
  query.limit = kLogPageMaximum;
  for (size_t page = 0; page <= reported.size() / 100; ++page) {
    const std::vector<LogEntry> found = log->Query(query);
    for (const LogEntry& entry : found) kept.insert(entry.id);
    if (found.empty()) break;
    query.before = found.back().id;
  }
  size_t lost = 0;
  for (const int64_t id : reported) lost += kept.count(id) == 0;
  EXPECT_EQ(lost, 0u) << "of " << reported.size() << " reported, " << kept.size() << " kept";
}

TEST(AlarmLogRetention, OpeningDropsEntriesOlderThanTheAge) {
  const TempDirectory directory;
  const Clock::time_point now = Clock::now();
  {
    const auto log = AlarmLog::Open(directory.Path(), {});
    std::vector<LogEntry> entries{Change("0101", now - hours(24 * 100)),
                                  Change("0102", now - hours(24 * 89)),
                                  Change("0103", now - hours(24 * 91)), Change("0104", now)};
    ASSERT_TRUE(log->Record(entries));
  }
  const auto log = AlarmLog::Open(directory.Path(), {hours(24 * 90), 1LL << 30});
  std::vector<std::string> cards;
  for (const LogEntry& entry : log->Query({})) cards.push_back(entry.card);
  EXPECT_EQ(cards, (std::vector<std::string>{"0104", "0102"}));
}

TEST(AlarmLogRetention, OpeningShrinksTheFileUnderItsSizeKeepingTheNewest) {
  const TempDirectory directory;
  int64_t newest = 0;
  {
    const auto log = AlarmLog::Open(directory.Path(), {});
    for (int i = 0; i < 40; ++i) {
      std::vector<LogEntry> entries(100, Change("0101", Clock::now(), std::string(400, 'c')));
      ASSERT_TRUE(log->Record(entries));
      newest = entries.back().id;
    }
  }
  const int64_t limit = 512 * 1024;
  ASSERT_GT(fs::file_size(directory.File()), 4u * limit);
  const auto log = AlarmLog::Open(directory.Path(), {hours(24 * 90), limit});
  const int64_t wal =
      fs::exists(directory.File() + "-wal") ? fs::file_size(directory.File() + "-wal") : 0;
  EXPECT_LE(static_cast<int64_t>(fs::file_size(directory.File())) + wal, limit);
  LogQuery oldest;
  oldest.before = 2;
  EXPECT_TRUE(log->Query(oldest).empty());
  const std::vector<LogEntry> latest = log->Query({});
  ASSERT_FALSE(latest.empty());
  EXPECT_EQ(latest.front().id, newest);
}

// Writes past a size fail (EFBIG) as on a full disk, for this process
// only; put back when the test ends.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, SIG_DFL);
  }

 private:
  rlimit saved_{};
};

TEST(AlarmLogFailure, AFullDiskMakesRecordFailAndCountWhileQueriesGoOn) {
  const TempDirectory directory;
  const auto log = AlarmLog::Open(directory.Path(), {});
  std::vector<LogEntry> first{Change("0101", Clock::now())};
  ASSERT_TRUE(log->Record(first));
  uint64_t refused = 0;
  {
    const FileSizeLimit full(static_cast<rlim_t>(fs::file_size(directory.File() + "-wal") + 8192));
    for (int i = 0; i < 100 && refused == 0; ++i) {
      std::vector<LogEntry> entries(50, Change("0102", Clock::now(), std::string(200, 'c')));
      if (!log->Record(entries)) refused = entries.size();
    }
    ASSERT_EQ(refused, 50u);
    std::vector<LogEntry> after{Change("0103", Clock::now())};
    EXPECT_FALSE(log->Record(after));
    EXPECT_EQ(after[0].id, 0);
  }
  const AlarmLogHealth health = log->Health();
  EXPECT_FALSE(health.writable);
  EXPECT_FALSE(health.lastError.empty());
  EXPECT_EQ(health.gap, refused + 1);
  LogQuery query;
  query.card = "0101";
  const std::vector<LogEntry> found = log->Query(query);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].id, first[0].id);
}

}  // namespace
}  // namespace t740::alerter
