#ifndef T740_ALERTER_ALERTMANAGER_ALERTMANAGER_SENDER_H
#define T740_ALERTER_ALERTMANAGER_ALERTMANAGER_SENDER_H

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "alerter/alertmanager/alert.h"
#include "alerter/alertmanager/alertmanager_url.h"
#include "alerter/alertmanager/latency_histogram.h"

namespace httplib {
class Client;
}

namespace t740::alerter {

struct DeliveryOptions {
  std::size_t queueCapacity = 10000;  // alerts waiting, beside the batch being posted
  std::size_t batchSize = 64;
  std::chrono::milliseconds timeout = std::chrono::seconds(10);
  std::chrono::milliseconds firstRetry = std::chrono::milliseconds(100);
  std::chrono::milliseconds lastRetry = std::chrono::seconds(10);
  // Told of every failed post: the Alertmanager's URL and why.
  std::function<void(const std::string& url, const std::string& reason)> onFailure;
};

struct AlertmanagerCounts {
  std::string url;
  std::uint64_t sent = 0;
  std::uint64_t failed = 0;   // alerts in failed posts, once per try
  std::uint64_t dropped = 0;  // pushed out of a full queue, or refused
  std::size_t queueLength = 0;
  LatencyHistogram latency;  // posted minus cued, of alerts with a cue
};

// One Alertmanager's queue and the thread that posts it in order, retrying
// a failed batch until it is taken or refused.
class AlertmanagerSender {
 public:
  AlertmanagerSender(AlertmanagerUrl url, DeliveryOptions options);
  ~AlertmanagerSender();
  AlertmanagerSender(const AlertmanagerSender&) = delete;
  AlertmanagerSender& operator=(const AlertmanagerSender&) = delete;

  // Never waits on the network; a full queue drops its oldest alerts.
  void Enqueue(const std::vector<Alert>& alerts);
  // Interrupts a post in flight and ends the thread, leaving what is queued;
  // to be called from one thread.
  void Stop();
  AlertmanagerCounts Counts() const;

 private:
  enum class Outcome { kTaken, kRefused, kFailed };

  void Run();
  bool TakeBatch(std::vector<Alert>& batch);
  void Deliver(const std::vector<Alert>& batch);
  Outcome Post(const std::vector<Alert>& batch, std::string& reason);
  void RecordTaken(const std::vector<Alert>& batch);
  void RecordFailure(std::size_t alerts, Outcome outcome, const std::string& reason);
  bool Stopping() const;
  bool SleepUnlessStopped(std::chrono::milliseconds delay);

  const AlertmanagerUrl url_;
  const DeliveryOptions options_;
  const std::string path_;
  std::unique_ptr<httplib::Client> client_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::deque<Alert> queue_;
  bool stopping_ = false;
  bool done_ = false;
  AlertmanagerCounts counts_;
  std::thread thread_;
};

}  // namespace t740::alerter

#endif
