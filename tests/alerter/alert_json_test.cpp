#include <gtest/gtest.h>

#include <stdexcept>

#include "alerter/alertmanager/alert.h"
#include "alerter/alertmanager/alertmanager_url.h"

namespace t740::alerter {
namespace {

using std::chrono::system_clock;

system_clock::time_point At(long long milliseconds) {
  return system_clock::time_point(std::chrono::milliseconds(milliseconds));
}

TEST(AlertJson, AwkwardBytesParseBackAsPostedWithBadUtf8Replaced) {
  Alert alert;
  alert.labels = {{"alertname", "T740LossOfSignal"},
                  {"trace", std::string("q\"b\\s/\n\t\x01\x1f\x7f", 11) + std::string(1, '\0')},
                  {"site", "机房 ✓ 😀"}};
  alert.annotations = {{"raw", "ok\xff\xc0\x80\xed\xa0\x80\xe6\x9c"}, {"", ""}};
  alert.startsAt = At(1714564800250);  // 2024-05-01T12:00:00.250Z
  alert.endsAt = At(-1);               // before the epoch
  alert.generatorUrl = "http://alerter:9741/?card=\"1\"";

  const std::string json = AlertsJson({alert, Alert{}});
  EXPECT_NE(json.find("\"startsAt\":\"2024-05-01T12:00:00.250Z\""), std::string::npos);
  EXPECT_NE(json.find("\"endsAt\":\"1969-12-31T23:59:59.999Z\""), std::string::npos);
  const std::vector<Alert> back = ParseAlerts(json);

  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].labels, alert.labels);
  const std::string fffd = "\xef\xbf\xbd";
  EXPECT_EQ(back[0].annotations.at("raw"),
            "ok" + fffd + fffd + fffd + fffd + fffd + fffd + fffd + fffd);
  EXPECT_EQ(back[0].startsAt, alert.startsAt);
  EXPECT_EQ(back[0].endsAt, alert.endsAt);
  EXPECT_EQ(back[0].generatorUrl, alert.generatorUrl);
  EXPECT_TRUE(back[1].labels.empty());
  EXPECT_EQ(back[1].startsAt.time_since_epoch().count(), 0);
}

TEST(AlertJson, ReadsAlertmanagersAnswer) {
  const std::string answer = R"([{"annotations":{},"endsAt":"2024-05-01T12:04:00.123456789+02:00",
    "fingerprint":"1a","receivers":[{"name":"null"}],"startsAt":"0001-01-01T00:00:00Z",
    "status":{"inhibitedBy":[],"silencedBy":[],"state":"suppressed"},"updatedAt":"x",
    "labels":{"a":"\u00e9\ud83d\ude00\ud800","n":"1e5"}, "extra": [1, -2.5e-3, true, null]}])";
  const std::vector<Alert> alerts = ParseAlerts(answer);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].labels.at("a"), "\xc3\xa9\xf0\x9f\x98\x80\xef\xbf\xbd");
  EXPECT_EQ(alerts[0].state, "suppressed");
  EXPECT_EQ(alerts[0].startsAt.time_since_epoch().count(), 0);
  EXPECT_EQ(alerts[0].endsAt,
            At(1714557840123) + std::chrono::duration_cast<system_clock::duration>(
                                    std::chrono::nanoseconds(456789)));
}

TEST(AlertJson, RefusesMalformedAnswers) {
  for (const char* bad : {"", "{}", "[", "[{}]", R"([{"labels":{"a":1}}])", R"([{"labels":{}},])",
                          R"([{"labels":{"a":"b}}])", "[{\"labels\":{\"a\":\"\x01\"}}]",
                          R"([{"labels":{},"startsAt":"2024-13-01T00:00:00Z"}])",
                          R"([{"labels":{},"endsAt":"9999-01-01T00:00:00Z"}])",
                          R"([{"labels":{"a":"\x"}}])", "[01]", "[1.]", "[] []", "[tru]"}) {
    EXPECT_THROW(ParseAlerts(bad), std::runtime_error) << bad;
  }
  EXPECT_THROW(ParseAlerts(std::string(100, '[') + std::string(100, ']')), std::runtime_error);
}

TEST(AlertmanagerUrl, TakesBaseUrlsAndSaysWhyOthersAreRefused) {
  const AlertmanagerUrl plain = ParseAlertmanagerUrl("HTTP://am.example:9093/alertmanager//");
  EXPECT_EQ(plain.Text(), "http://am.example:9093/alertmanager");
  EXPECT_EQ(ParseAlertmanagerUrl("http://[::1]:9093").Origin(), "http://[::1]:9093");
  EXPECT_EQ(ParseAlertmanagerUrl("http://am").port, 80);
  if (TlsAvailable()) {
    EXPECT_EQ(ParseAlertmanagerUrl("https://am/").Text(), "https://am:443");
  }

  const std::pair<const char*, const char*> refused[] = {
      {"am:9093", "expected http://"},
      {"ftp://am", "http or https"},
      {"http://:9093", "host is empty"},
      {"http://am:0", "1 to 65535"},
      {"http://am:9x", "a number"},
      {"http://u:p@am", "credentials"},
      {"http://am/?a=1", "query"},
      {"http://am/a b", "escape"},
      {"http://am/api/v2/alerts", "base URL"},
      {"http://[::1", "']'"},
      {"http://a!m", "bad character"},
  };
  for (const auto& [value, reason] : refused) {
    try {
      ParseAlertmanagerUrl(value);
      ADD_FAILURE() << value << " was taken";
    } catch (const std::invalid_argument& error) {
      EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace t740::alerter
