#include "alerter/alarms/alarm_book.h"

#include <gtest/gtest.h>

namespace t740::alerter {
namespace {

using Clock = AlarmBook::Clock;
using std::chrono::seconds;

constexpr int16_t kAbsent = 5;

CardTarget Card() {
  CardTarget card;
  card.probe = {"127.0.0.2", 0x7f000002, 16100, "0107", ""};
  card.instance = "127.0.0.2:16100";
  return card;
}

monitoring::ProbeResult Answer(std::vector<host::AlarmRow> rows) {
  monitoring::ProbeResult result;
  result.up = true;
  result.status.alarms = std::move(rows);
  return result;
}

host::AlarmRow Row(const std::string& port, const std::string& name, int16_t level) {
  return {1, level, "", port, name};
}

AlarmCue Cue(const std::string& port, const std::string& alarm, bool raised,
             Clock::time_point cardTime) {
  AlarmCue cue;
  cue.source = "127.0.0.2";
  cue.card = "0107";
  cue.port = port;
  cue.alarm = alarm;
  cue.raised = raised;
  cue.cardTime = cardTime;
  return cue;
}

TEST(AlarmBookTest, LossOfSignalFiresAtTheCardsTimeAndResolvesAtItsClear) {
  AlarmBook book({});
  const Clock::time_point now = Clock::now();
  const Clock::time_point raisedAt = now - seconds(7);
  book.Observe(Card(),
               Answer({Row("A", "STM-LOS", host::kAlarmPresent), Row("B", "STM-LOS", kAbsent)}),
               {Cue("A", "STM-LOS", true, raisedAt)}, now);
  const std::vector<Alert> fired = book.Due(now);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0].labels, (std::map<std::string, std::string>{{"alertname", "T740LossOfSignal"},
                                                                 {"instance", "127.0.0.2:16100"},
                                                                 {"card", "0107"},
                                                                 {"port", "A"},
                                                                 {"alarm", "STM-LOS"},
                                                                 {"severity", "critical"}}));
  EXPECT_EQ(fired[0].startsAt, raisedAt);
  EXPECT_GT(fired[0].endsAt, now);

  const Clock::time_point clearedAt = now + seconds(3);
  book.Observe(Card(), Answer({Row("A", "STM-LOS", kAbsent)}),
               {Cue("A", "STM-LOS", false, clearedAt)}, now + seconds(5));
  const std::vector<Alert> resolved = book.Due(now + seconds(5));
  ASSERT_EQ(resolved.size(), 1u);
  EXPECT_EQ(resolved[0].labels, fired[0].labels);
  EXPECT_EQ(resolved[0].endsAt, clearedAt);
  EXPECT_EQ(book.Firing(), 0u);
}

TEST(AlarmBookTest, AlarmsNoRuleNamesAndCuesTheProbeDoesNotShowFireNothing) {
  AlarmBook book({});
  const Clock::time_point now = Clock::now();
  book.Observe(Card(),
               Answer({Row("A", "B1-EXC", host::kAlarmPresent), Row("B", "STM-LOF", kAbsent)}),
               {Cue("B", "STM-LOF", true, now), Cue("C", "STM-LOS", true, now)}, now);
  EXPECT_TRUE(book.Due(now).empty());
  EXPECT_EQ(book.Firing(), 0u);
}

TEST(AlarmBookTest, ASilentCardIsUnreachableOnlyAfterItsTime) {
  AlarmBook::Timing timing;
  timing.unreachableAfter = seconds(60);
  AlarmBook book(timing);
  monitoring::ProbeResult silent;
  const Clock::time_point since = Clock::now();
  book.Observe(Card(), silent, {}, since);
  book.Observe(Card(), silent, {}, since + seconds(59));
  EXPECT_TRUE(book.Due(since + seconds(59)).empty());

  book.Observe(Card(), silent, {}, since + seconds(61));
  const std::vector<Alert> fired = book.Due(since + seconds(61));
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0].labels.at("alertname"), "T740CardUnreachable");
  EXPECT_EQ(fired[0].startsAt, since);
}

}  // namespace
}  // namespace t740::alerter
