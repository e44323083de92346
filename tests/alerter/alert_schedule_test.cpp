#include <gtest/gtest.h>

#include "alerter/alertmanager/alert_schedule.h"

namespace t740::alerter {
namespace {

using std::chrono::minutes;
using std::chrono::seconds;
using Clock = AlertSchedule::Clock;

const Clock::time_point kStart = Clock::time_point(std::chrono::hours(24 * 365 * 50));

Alert Named(const std::string& name, const std::string& summary = "") {
  Alert alert;
  alert.labels = {{"alertname", name}};
  alert.annotations = {{"summary", summary}};
  return alert;
}

std::vector<std::string> Names(const std::vector<Alert>& alerts) {
  std::vector<std::string> names;
  for (const Alert& alert : alerts) names.push_back(alert.labels.at("alertname"));
  return names;
}

TEST(AlertSchedule, FiringAlertIsResentEachTickEndingFourTicksAhead) {
  AlertSchedule schedule;
  schedule.Fire("los", Named("LOS", "first"), kStart);
  Alert first = schedule.Due(kStart).at(0);
  EXPECT_EQ(first.startsAt, kStart);
  EXPECT_EQ(first.endsAt, kStart + minutes(4));

  schedule.Fire("los", Named("LOS", "second"), kStart + seconds(10));
  EXPECT_TRUE(schedule.Due(kStart + seconds(59)).empty());
  const std::vector<Alert> resent = schedule.Due(kStart + minutes(1));
  ASSERT_EQ(resent.size(), 1u);
  EXPECT_EQ(resent[0].startsAt, kStart);
  EXPECT_EQ(resent[0].endsAt, kStart + minutes(5));
  EXPECT_EQ(resent[0].annotations.at("summary"), "second");
  EXPECT_TRUE(schedule.Due(kStart + minutes(1)).empty());
  EXPECT_EQ(schedule.Firing(), std::vector<std::string>{"los"});
}

TEST(AlertSchedule, ResolvedAlertIsSentAtOnceResentThenForgotten) {
  AlertSchedule schedule({minutes(1), minutes(15)});
  Alert cued = Named("LOS");
  cued.cued = std::chrono::steady_clock::now();
  schedule.Fire("los", cued, kStart);
  EXPECT_TRUE(schedule.Due(kStart).at(0).cued.has_value());
  schedule.Resolve("never-fired", kStart);
  schedule.Resolve("los", kStart + seconds(20));
  EXPECT_TRUE(schedule.Firing().empty());

  const std::vector<Alert> resolved = schedule.Due(kStart + seconds(21));
  ASSERT_EQ(resolved.size(), 1u);
  EXPECT_EQ(resolved[0].endsAt, kStart + seconds(20));
  EXPECT_FALSE(resolved[0].cued.has_value()) << "a cue is spent on its first post";
  int resends = 0;
  for (auto now = kStart + seconds(21); now < kStart + minutes(30); now += seconds(10)) {
    for (const Alert& alert : schedule.Due(now)) {
      EXPECT_EQ(alert.endsAt, kStart + seconds(20));
      ++resends;
    }
  }
  EXPECT_EQ(resends, 14) << "resent each minute until 15 minutes after it cleared";

  // A clear timed by the card's whole seconds before a raise timed by the
  // alerter's own clock: Alertmanager refuses an alert that ends before it
  // starts, and the whole batch with it.
  schedule.Fire("lof", Named("LOF"), kStart + std::chrono::milliseconds(900));
  schedule.Due(kStart + seconds(1));
  schedule.Resolve("lof", kStart);
  const std::vector<Alert> early = schedule.Due(kStart + seconds(2));
  ASSERT_EQ(early.size(), 1u);
  EXPECT_GE(early[0].endsAt, early[0].startsAt);
}

TEST(AlertSchedule, FireAfterResolveStartsANewAlertAfterTheUnsentResolve) {
  AlertSchedule schedule;
  schedule.Fire("los", Named("LOS"), kStart);
  schedule.Due(kStart);
  schedule.Resolve("los", kStart + seconds(5));
  Alert again = Named("LOS");
  again.startsAt = kStart + seconds(6);
  schedule.Fire("los", again, kStart + seconds(7));
  schedule.Fire("ais", Named("AIS"), kStart + seconds(7));

  const std::vector<Alert> due = schedule.Due(kStart + seconds(8));
  EXPECT_EQ(Names(due), (std::vector<std::string>{"AIS", "LOS", "LOS"}));
  ASSERT_EQ(due.size(), 3u);
  EXPECT_EQ(due[1].endsAt, kStart + seconds(5));
  EXPECT_EQ(due[2].startsAt, kStart + seconds(6));
  EXPECT_EQ(due[2].endsAt, kStart + seconds(8) + minutes(4));
  EXPECT_EQ(schedule.Firing(), (std::vector<std::string>{"ais", "los"}));
}

}  // namespace
}  // namespace t740::alerter
