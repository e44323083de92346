#include "alerter/history/log_row.h"

namespace t740::alerter {
namespace {

using std::chrono::milliseconds;
using std::chrono::system_clock;

system_clock::time_point TimeOf(int64_t ms) {
  return system_clock::time_point(milliseconds(ms));
}

}  // namespace

const char kLogInsert[] =
    "INSERT INTO entries (kind, instance, card, port, alarm, severity, card_time_ms, learnt_ms,"
    " road, who, comment) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

const char kLogSelect[] =
    "SELECT id, kind, instance, card, port, alarm, severity, card_time_ms, learnt_ms, road, who,"
    " comment FROM entries";

int64_t MillisecondsOf(system_clock::time_point time) {
  return std::chrono::duration_cast<milliseconds>(time.time_since_epoch()).count();
}

void BindEntry(Statement& insert, const LogEntry& entry) {
  insert.Bind(1, std::string(LogKindName(entry.kind)));
  insert.Bind(2, entry.instance);
  insert.Bind(3, entry.card);
  insert.Bind(4, entry.port);
  insert.Bind(5, entry.alarm);
  insert.Bind(6, entry.severity);
  insert.Bind(7, MillisecondsOf(entry.cardTime));
  insert.Bind(8, MillisecondsOf(entry.learnt));
  insert.Bind(9, std::string(LogRoadName(entry.road)));
  insert.Bind(10, entry.who);
  insert.Bind(11, entry.comment);
}

// A kind or road this program does not name (written by a newer one) reads
// as the default.
LogEntry EntryOfRow(const Statement& select) {
  LogEntry entry;
  entry.id = select.Integer(0);
  LogKindNamed(select.Text(1), entry.kind);
  entry.instance = select.Text(2);
  entry.card = select.Text(3);
  entry.port = select.Text(4);
  entry.alarm = select.Text(5);
  entry.severity = select.Text(6);
  entry.cardTime = TimeOf(select.Integer(7));
  entry.learnt = TimeOf(select.Integer(8));
  LogRoadNamed(select.Text(9), entry.road);
  entry.who = select.Text(10);
  entry.comment = select.Text(11);
  return entry;
}

}  // namespace t740::alerter
