#include <gtest/gtest.h>

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "alerter/alertmanager/notifier.h"

namespace t740::alerter {
namespace {

// A failsafe only: every wait ends on the awaited event.
constexpr auto kFailsafe = std::chrono::seconds(60);

// Alertmanager's POST /api/v2/alerts on 127.0.0.1: it answers `failStatus`
// to the first `failures` posts, then takes every alert but those labelled
// bad=yes, which it refuses with 400.
class FakeAlertmanager {
 public:
  FakeAlertmanager(int failures, int failStatus) : failures_(failures), failStatus_(failStatus) {
    server_.Post("/am/api/v2/alerts",
                 [this](const httplib::Request& request, httplib::Response& response) {
                   Answer(request, response);
                 });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~FakeAlertmanager() {
    server_.stop();
    thread_.join();
  }

  AlertmanagerUrl Url() const {
    return ParseAlertmanagerUrl("http://127.0.0.1:" + std::to_string(port_) + "/am");
  }
  // The alertnames taken, once `count` were.
  std::vector<std::string> AwaitTaken(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, kFailsafe, [&] { return taken_.size() >= count; });
    return taken_;
  }
  std::uint64_t FailedAlerts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return failedAlerts_;
  }

 private:
  void Answer(const httplib::Request& request, httplib::Response& response) {
    const std::vector<Alert> alerts = ParseAlerts(request.body);
    std::lock_guard<std::mutex> lock(mutex_);
    if (request.get_header_value("Content-Type") != "application/json") {
      response.status = 415;
    } else if (failures_ > 0) {
      --failures_;
      failedAlerts_ += alerts.size();
      response.status = failStatus_;
    } else if (alerts.size() == 1 && alerts[0].labels.count("bad") != 0) {
      response.status = 400;
      response.set_content("invalid label set\n", "text/plain");
    } else {
      for (const Alert& alert : alerts) taken_.push_back(alert.labels.at("alertname"));
    }
    changed_.notify_all();
  }

  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int failures_;
  int failStatus_;
  std::uint64_t failedAlerts_ = 0;
  std::vector<std::string> taken_;
};

std::vector<Alert> Numbered(int from, int to) {
  std::vector<Alert> alerts;
  for (int i = from; i < to; ++i) {
    Alert alert;
    alert.labels = {{"alertname", "A" + std::to_string(i)}};
    alert.cued = std::chrono::steady_clock::now();
    alerts.push_back(alert);
  }
  return alerts;
}

std::vector<std::string> Names(int from, int to) {
  std::vector<std::string> names;
  for (const Alert& alert : Numbered(from, to)) names.push_back(alert.labels.at("alertname"));
  return names;
}

// The counts once `sent` alerts were posted to every Alertmanager: the fake
// notes a post before the notifier reads its answer.
NotifierCounts AwaitSent(const Notifier& notifier, std::uint64_t sent) {
  NotifierCounts counts = notifier.Counts();
  for (auto waited = std::chrono::milliseconds(0); waited < kFailsafe;
       waited += std::chrono::milliseconds(1)) {
    bool all = true;
    for (const auto& alertmanager : counts.alertmanagers) all = all && alertmanager.sent >= sent;
    if (all) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    counts = notifier.Counts();
  }
  return counts;
}

DeliveryOptions QuickRetries() {
  DeliveryOptions options;
  options.batchSize = 8;
  options.firstRetry = std::chrono::milliseconds(1);
  options.lastRetry = std::chrono::milliseconds(20);
  return options;
}

struct FailureLog {
  std::mutex mutex;
  std::condition_variable added;
  std::vector<std::string> reasons;

  std::function<void(const std::string&, const std::string&)> Callback() {
    return [this](const std::string& url, const std::string& reason) {
      std::lock_guard<std::mutex> lock(mutex);
      reasons.push_back(url + " " + reason);
      added.notify_all();
    };
  }
  void Await(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex);
    added.wait_for(lock, kFailsafe, [&] { return reasons.size() >= count; });
  }
};

// A port of 127.0.0.1 bound and never listened on: it refuses connections.
class RefusingPort {
 public:
  RefusingPort() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~RefusingPort() { ::close(socket_); }
  int Port() const { return port_; }

 private:
  int socket_;
  int port_ = 0;
};

TEST(Notifier, RetriesThroughAnOutageAndDeliversEachAlertOnceInOrder) {
  FakeAlertmanager alertmanager(5, 503);
  FailureLog log;
  DeliveryOptions options = QuickRetries();
  options.onFailure = log.Callback();
  Notifier notifier({alertmanager.Url()}, options);
  for (int i = 0; i < 100; i += 20) notifier.Send(Numbered(i, i + 20));

  EXPECT_EQ(alertmanager.AwaitTaken(100), Names(0, 100));
  const AlertmanagerCounts counts = AwaitSent(notifier, 100).alertmanagers.at(0);
  EXPECT_EQ(counts.url, alertmanager.Url().Text());
  EXPECT_EQ(counts.sent, 100u);
  EXPECT_EQ(counts.failed, alertmanager.FailedAlerts());
  EXPECT_EQ(counts.dropped, 0u);
  EXPECT_EQ(counts.queueLength, 0u);
  EXPECT_EQ(counts.latency.count, 100u);
  EXPECT_GT(counts.latency.sum, 0);
  std::lock_guard<std::mutex> lock(log.mutex);
  ASSERT_EQ(log.reasons.size(), 5u);
  EXPECT_EQ(log.reasons[0], counts.url + " HTTP 503 (retrying " +
                                std::to_string(alertmanager.FailedAlerts() / 5) + " alerts)");
}

TEST(Notifier, FullQueueDropsItsOldestAndRefusedBatchIsNotRetried) {
  FakeAlertmanager first(0, 200);
  FakeAlertmanager second(0, 200);
  FailureLog log;
  DeliveryOptions options = QuickRetries();
  options.queueCapacity = 10;
  options.onFailure = log.Callback();
  Notifier notifier({first.Url(), second.Url()}, options);
  Alert bad;
  bad.labels = {{"alertname", "bad"}, {"bad", "yes"}};
  notifier.Send({bad});
  log.Await(2);
  notifier.Send(Numbered(0, 25));

  EXPECT_EQ(first.AwaitTaken(10), Names(15, 25)) << "the 10 newest, in order";
  EXPECT_EQ(second.AwaitTaken(10), Names(15, 25));
  for (const auto& counts : AwaitSent(notifier, 10).alertmanagers) {
    EXPECT_EQ(counts.dropped, 15u + 1u);
    EXPECT_EQ(counts.failed, 1u);
    EXPECT_EQ(counts.sent, 10u);
  }
  std::lock_guard<std::mutex> lock(log.mutex);
  ASSERT_EQ(log.reasons.size(), 2u);
  EXPECT_NE(log.reasons[0].find(" HTTP 400: invalid label set (refused: dropped 1 alerts)"),
            std::string::npos)
      << log.reasons[0];
}

TEST(Notifier, StopWakesTheBackOffAndLeavesTheQueue) {
  RefusingPort down;
  FailureLog log;
  DeliveryOptions options;
  options.firstRetry = options.lastRetry = std::chrono::hours(1);
  options.onFailure = log.Callback();
  Notifier notifier({ParseAlertmanagerUrl("http://127.0.0.1:" + std::to_string(down.Port()))},
                    options);
  notifier.Send(Numbered(0, 1));
  log.Await(1);
  notifier.Send(Numbered(1, 3));
  notifier.Stop();
  const AlertmanagerCounts counts = notifier.Counts().alertmanagers.at(0);
  EXPECT_EQ(counts.failed, 1u);
  EXPECT_EQ(counts.sent, 0u);
  EXPECT_EQ(counts.queueLength, 2u);
}

}  // namespace
}  // namespace t740::alerter
