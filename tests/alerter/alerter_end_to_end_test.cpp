// t740-alerter between t740-sim and Debian's prometheus-alertmanager, all
// as children on 127.0.0.0/8: a fibre pulled on port A of the card of the
// agent on 127.0.0.2 (whose ports B and C start faulty) must reach
// Alertmanager as T740LossOfSignal, and its restore resolve it, by the
// notification, by the round when no notification comes, across a restart
// of the alerter and across one of Alertmanager.
#include <httplib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "alerter/alertmanager/fetch_alerts.h"
#include "alerter/json/json_value.h"
#include "alerter_process.h"
#include "alertmanager_process.h"
#include "child_process.h"

namespace t740::test {
namespace {

using alerter::JsonValue;
using Labels = std::map<std::string, std::string>;

constexpr auto kPatience = std::chrono::seconds(30);
constexpr auto kPollPause = std::chrono::milliseconds(100);
constexpr char kAgent[] = "127.0.0.2";

// Alertmanager's webhook posts, kept as they came.
class WebhookReceiver {
 public:
  WebhookReceiver() {
    server_.Post("/hook", [this](const httplib::Request& request, httplib::Response&) {
      std::lock_guard<std::mutex> lock(mutex_);
      posts_.push_back(request.body);
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~WebhookReceiver() {
    server_.stop();
    thread_.join();
  }

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/hook"; }

  // Waits for a post telling `status` ("firing" or "resolved") of an alert
  // with every one of `labels`; that alert.
  std::optional<JsonValue> Await(const Labels& labels, const std::string& status) const {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
      if (auto alert = Find(labels, status)) return alert;
      std::this_thread::sleep_for(kPollPause);
    }
    return std::nullopt;
  }

 private:
  std::optional<JsonValue> Find(const Labels& labels, const std::string& status) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::string& post : posts_) {
      const JsonValue document = alerter::ParseJson(post);
      for (const JsonValue& alert : document.Member("alerts", JsonValue::Kind::kArray).items) {
        if (alert.Member("status", JsonValue::Kind::kString).text == status &&
            HasLabels(alert, labels)) {
          return alert;
        }
      }
    }
    return std::nullopt;
  }

  static bool HasLabels(const JsonValue& alert, const Labels& labels) {
    const auto& members = alert.Member("labels", JsonValue::Kind::kObject).members;
    for (const auto& [name, value] : labels) {
      const auto label = members.find(name);
      if (label == members.end() || label->second.text != value) return false;
    }
    return true;
  }

  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> posts_;
};

// Every alert its own group, told at once and its resolve within a second.
std::string WebhookConfig(const std::string& url) {
  return "route:\n  receiver: hook\n  group_by: ['...']\n  group_wait: 0s\n"
         "  group_interval: 1s\n  repeat_interval: 24h\n"
         "receivers:\n  - name: hook\n    webhook_configs:\n      - url: " +
         url + "\n        send_resolved: true\n";
}

// The labels of port A's loss of signal on the card of the agent at `port`.
Labels LossOfSignalOnA(int port) {
  return {{"alertname", "T740LossOfSignal"},
          {"instance", std::string(kAgent) + ":" + std::to_string(port)},
          {"card", "0107"},
          {"port", "A"},
          {"alarm", "STM-LOS"},
          {"severity", "critical"}};
}

std::vector<std::string> Matchers(const Labels& labels) {
  std::vector<std::string> matchers;
  for (const auto& [name, value] : labels) matchers.push_back(name + "=\"" + value + "\"");
  return matchers;
}

// Waits until Alertmanager lists an active alert with `labels` (`listed`)
// or none (not `listed`).
bool AwaitListed(const AlertmanagerProcess& alertmanager, const Labels& labels, bool listed) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    if (alerter::FetchAlerts(alertmanager.Url(), Matchers(labels)).empty() != listed) return true;
    std::this_thread::sleep_for(kPollPause);
  }
  return false;
}

// Port A's fibre pulled, and put back unless `restored` is empty, at those
// times after t740-sim starts; the file's path.
std::string WriteEvents(const ScratchDirectory& files, const std::string& pulled,
                        const std::string& restored = "") {
  const std::string path = files.Path() + "/events";
  std::ofstream events(path);
  events << pulled << " " << kAgent << " 0107 A fibre-pulled\n";
  if (!restored.empty()) events << restored << " " << kAgent << " 0107 A fibre-restored\n";
  return path;
}

std::vector<std::string> SimArguments(int port, const std::vector<std::string>& more) {
  std::vector<std::string> arguments = {"--agents", kAgent, "--port", std::to_string(port)};
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

TEST(AlerterEndToEndTest, NotificationsAloneRaiseTheFibrePullAndResolveItsRestore) {
  ScratchDirectory files;
  const std::string targets = files.Path() + "/targets.json";
  WebhookReceiver webhook;
  AlertmanagerProcess alertmanager(WebhookConfig(webhook.Url()));
  ASSERT_TRUE(alertmanager.AwaitReady()) << alertmanager.Log();
  // A round too long to come: only the targets file's arrival and the
  // notifications make probes. The pull comes seconds after the agent
  // writes its targets, which the alerter reads within a second.
  AlerterProcess alerter({"--alertmanager.url", alertmanager.UrlText(), "--targets.file", targets,
                          "--round.interval", "1h"});
  SimAgent sim(SimArguments(0, {"--targets-file", targets, "--notify", alerter.SnmpAddress(),
                                "--events", WriteEvents(files, "+6s", "+8s")}));
  const Labels labels = LossOfSignalOnA(sim.Port());

  const auto firing = webhook.Await(labels, "firing");
  ASSERT_TRUE(firing) << alerter.Log() << alerter.Metrics();
  Labels posted;
  for (const auto& [name, value] : firing->Member("labels", JsonValue::Kind::kObject).members) {
    posted[name] = value.text;
  }
  EXPECT_EQ(posted, labels);
  EXPECT_TRUE(webhook.Await(labels, "resolved")) << alerter.Log();
  EXPECT_GE(MetricSum(alerter.Metrics(), "t740_alerter_notifications_total{outcome=\"accepted\"}"),
            2);
  // A ThreadSanitizer build's report ends it with another status.
  EXPECT_EQ(alerter.Stop(), 0) << alerter.Log();
}

TEST(AlerterEndToEndTest, RoundsRaiseAndResolveWhatNoNotificationTold) {
  ScratchDirectory files;
  const std::string targets = files.Path() + "/targets.json";
  AlertmanagerProcess alertmanager;
  ASSERT_TRUE(alertmanager.AwaitReady()) << alertmanager.Log();
  SimAgent sim(
      SimArguments(0, {"--targets-file", targets, "--events", WriteEvents(files, "+1s", "+8s")}));
  AlerterProcess alerter({"--alertmanager.url", alertmanager.UrlText(), "--targets.file", targets,
                          "--round.interval", "1s"});
  const Labels labels = LossOfSignalOnA(sim.Port());

  // Seven seconds pulled: rounds of a second see it even on a busy machine.
  ASSERT_TRUE(AwaitListed(alertmanager, labels, true)) << alerter.Log();
  EXPECT_TRUE(AwaitListed(alertmanager, labels, false)) << alerter.Log();
  EXPECT_EQ(MetricSum(alerter.Metrics(), "t740_alerter_notifications_total"), 0);
  EXPECT_EQ(alerter.Stop(), 0) << alerter.Log();
}

// The first alerter's raise ends minutes ahead; only the second alerter,
// taking it over from Alertmanager at its start, can resolve it sooner.
TEST(AlerterEndToEndTest, ARestartedAlerterResolvesWhatClearedWhileItWasStopped) {
  ScratchDirectory files;
  const std::string targets = files.Path() + "/targets.json";
  WebhookReceiver webhook;
  AlertmanagerProcess alertmanager(WebhookConfig(webhook.Url()));
  ASSERT_TRUE(alertmanager.AwaitReady()) << alertmanager.Log();
  auto pulled = std::make_unique<SimAgent>(
      SimArguments(0, {"--targets-file", targets, "--events", WriteEvents(files, "+200ms")}));
  const int port = pulled->Port();
  const Labels labels = LossOfSignalOnA(port);
  const std::vector<std::string> arguments = {"--alertmanager.url", alertmanager.UrlText(),
                                              "--targets.file",     targets,
                                              "--round.interval",   "1s"};
  {
    AlerterProcess first(arguments);
    ASSERT_TRUE(AwaitListed(alertmanager, labels, true)) << first.Log();
    EXPECT_EQ(first.Stop(), 0) << first.Log();
  }
  // The same card on the same port, its fibre back in.
  pulled.reset();
  SimAgent restored(SimArguments(port, {}));
  ASSERT_EQ(restored.Port(), port);

  AlerterProcess second(arguments);
  EXPECT_TRUE(webhook.Await(labels, "resolved")) << second.Log();
  EXPECT_EQ(second.Stop(), 0) << second.Log();
}

TEST(AlerterEndToEndTest, AlertsRaisedWhileAlertmanagerIsDownArriveWhenItIsBack) {
  ScratchDirectory files;
  const std::string targets = files.Path() + "/targets.json";
  AlertmanagerProcess alertmanager;
  ASSERT_TRUE(alertmanager.AwaitReady()) << alertmanager.Log();
  auto clean = std::make_unique<SimAgent>(SimArguments(0, {"--targets-file", targets}));
  const int port = clean->Port();
  AlerterProcess alerter({"--alertmanager.url", alertmanager.UrlText(), "--targets.file", targets,
                          "--round.interval", "1s"});
  // Ports B and C's alarms of the start, taken.
  ASSERT_TRUE(alerter.AwaitMetric("t740_alerter_alerts_sent_total", 2)) << alerter.Log();

  alertmanager.Stop();
  clean.reset();
  SimAgent pulled(SimArguments(port, {"--events", WriteEvents(files, "+200ms")}));
  ASSERT_EQ(pulled.Port(), port);
  ASSERT_TRUE(alerter.AwaitMetric("t740_alerter_alerts_failed_total", 1)) << alerter.Log();

  alertmanager.Start();
  ASSERT_TRUE(alertmanager.AwaitReady()) << alertmanager.Log();
  EXPECT_TRUE(AwaitListed(alertmanager, LossOfSignalOnA(port), true)) << alerter.Log();
  EXPECT_EQ(MetricSum(alerter.Metrics(), "t740_alerter_alerts_dropped_total"), 0);
  EXPECT_EQ(alerter.Stop(), 0) << alerter.Log();
}

}  // namespace
}  // namespace t740::test
