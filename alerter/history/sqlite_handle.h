// The little of SQLite's C interface the alarm log uses, owned: a
// connection that closes itself, statements that finalize themselves, and
// an error carrying SQLite's code and message.
#ifndef T740_ALERTER_HISTORY_SQLITE_HANDLE_H
#define T740_ALERTER_HISTORY_SQLITE_HANDLE_H

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace t740::alerter {

class SqliteError : public std::runtime_error {
 public:
  SqliteError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

struct SqliteClose {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteClose>;

// Throws SqliteError when the file cannot be opened (read-write, created
// when missing).
SqliteDb OpenSqlite(const std::string& path);

// Runs statements that return no rows; throws SqliteError.
void Execute(sqlite3* db, const char* sql);
// The first column of the first row of a statement such as a PRAGMA.
int64_t QueryInteger(sqlite3* db, const char* sql);

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql);
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters count from 1, as SQLite's do.
  void Bind(int index, const std::string& text);
  void Bind(int index, int64_t number);
  // True while there is a row; false when done; throws SqliteError.
  bool Step();
  void Reset();
  int64_t Integer(int column) const { return sqlite3_column_int64(statement_, column); }
  std::string Text(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace t740::alerter

#endif
