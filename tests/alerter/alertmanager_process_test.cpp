#include <gtest/gtest.h>

#include <thread>

#include "alerter/alertmanager/fetch_alerts.h"
#include "alerter/alertmanager/notifier.h"
#include "alertmanager_process.h"

namespace t740::alerter {
namespace {

using test::AlertmanagerProcess;

constexpr int kAlertPolls = 600;
constexpr auto kPollPause = std::chrono::milliseconds(100);

std::vector<Alert> AwaitAlerts(const AlertmanagerUrl& url, const std::string& filter) {
  std::vector<Alert> alerts;
  for (int poll = 0; poll < kAlertPolls && alerts.empty(); ++poll) {
    alerts = FetchAlerts(url, {filter});
    if (alerts.empty()) std::this_thread::sleep_for(kPollPause);
  }
  return alerts;
}

TEST(AlertmanagerProcess, TakesPostedAlertsWithAwkwardBytesAndGivesThemBack) {
  AlertmanagerProcess alertmanager;
  ASSERT_TRUE(alertmanager.AwaitReady()) << alertmanager.Log();

  Alert alert;
  alert.labels = {
      {"alertname", "T740LossOfSignal"}, {"card", "01"}, {"trace", "q\"b\\s\n\x01 机房\xff"}};
  alert.annotations = {{"summary", "loss of signal, port 1"}};
  alert.startsAt = std::chrono::time_point_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now() - std::chrono::minutes(1));
  alert.endsAt = alert.startsAt + std::chrono::hours(1);
  Alert other = alert;
  other.labels["alertname"] = "T740Other";
  Notifier notifier({alertmanager.Url()}, DeliveryOptions{});
  notifier.Send({alert, other});

  const std::vector<Alert> back = AwaitAlerts(alertmanager.Url(), "alertname=\"T740LossOfSignal\"");
  ASSERT_EQ(back.size(), 1u) << alertmanager.Log();
  auto expected = alert.labels;
  expected["trace"] = "q\"b\\s\n\x01 机房\xef\xbf\xbd";
  EXPECT_EQ(back[0].labels, expected);
  EXPECT_EQ(back[0].annotations, alert.annotations);
  EXPECT_EQ(back[0].startsAt, alert.startsAt);
  EXPECT_EQ(back[0].endsAt, alert.endsAt);
  EXPECT_EQ(back[0].state, "active");
}

}  // namespace
}  // namespace t740::alerter
