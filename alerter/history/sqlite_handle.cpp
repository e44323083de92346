#include "alerter/history/sqlite_handle.h"

namespace t740::alerter {
namespace {

[[noreturn]] void Throw(sqlite3* db, int code) {
  throw SqliteError(code, db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

// The connection waits this long for a lock another connection holds (the
// readers' and the writer's share the file) before it fails.
constexpr int kBusyMilliseconds = 5000;

}  // namespace

SqliteDb OpenSqlite(const std::string& path) {
  sqlite3* raw = nullptr;
  const int code =
      sqlite3_open_v2(path.c_str(), &raw,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  SqliteDb db(raw);
  if (code != SQLITE_OK) Throw(raw, code);
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, kBusyMilliseconds);
  return db;
}

void Execute(sqlite3* db, const char* sql) {
  const int code = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
  if (code != SQLITE_OK) Throw(db, code);
}

int64_t QueryInteger(sqlite3* db, const char* sql) {
  Statement statement(db, sql);
  return statement.Step() ? statement.Integer(0) : 0;
}

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db) {
  const int code = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr);
  if (code != SQLITE_OK) Throw(db, code);
}

void Statement::Bind(int index, const std::string& text) {
  const int code = sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                                     SQLITE_TRANSIENT);
  if (code != SQLITE_OK) Throw(db_, code);
}

void Statement::Bind(int index, int64_t number) {
  const int code = sqlite3_bind_int64(statement_, index, number);
  if (code != SQLITE_OK) Throw(db_, code);
}

bool Statement::Step() {
  const int code = sqlite3_step(statement_);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  Throw(db_, code);
}

void Statement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_, column);
  const int size = sqlite3_column_bytes(statement_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size))
              : std::string();
}

}  // namespace t740::alerter
