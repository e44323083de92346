#include "alerter/alertmanager/alertmanager_sender.h"

#include <algorithm>

#include "alerter/alertmanager/backoff.h"
#include "alerter/alertmanager/http_client.h"

namespace t740::alerter {
namespace {

// How often Stop interrupts the client again, should a post have begun just
// after the previous interruption.
constexpr auto kStopPoll = std::chrono::milliseconds(20);

bool Refused(int status) {
  return status >= 400 && status < 500 && status != 429;
}

}  // namespace

AlertmanagerSender::AlertmanagerSender(AlertmanagerUrl url, DeliveryOptions options)
    : url_(std::move(url)),
      options_(std::move(options)),
      path_(url_.prefix + "/api/v2/alerts"),
      client_(MakeClient(url_, options_.timeout)) {
  counts_.url = url_.Text();
  thread_ = std::thread([this] { Run(); });
}

AlertmanagerSender::~AlertmanagerSender() {
  Stop();
}

void AlertmanagerSender::Enqueue(const std::vector<Alert>& alerts) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Alert& alert : alerts) {
      queue_.push_back(alert);
      if (queue_.size() > options_.queueCapacity) {
        queue_.pop_front();
        ++counts_.dropped;
      }
    }
  }
  wake_.notify_one();
}

void AlertmanagerSender::Stop() {
  std::unique_lock<std::mutex> lock(mutex_);
  stopping_ = true;
  wake_.notify_all();
  while (!done_) {
    client_->stop();
    finished_.wait_for(lock, kStopPoll);
  }
  lock.unlock();
  if (thread_.joinable()) thread_.join();
}

AlertmanagerCounts AlertmanagerSender::Counts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  AlertmanagerCounts counts = counts_;
  counts.queueLength = queue_.size();
  return counts;
}

void AlertmanagerSender::Run() {
  std::vector<Alert> batch;
  while (TakeBatch(batch)) Deliver(batch);
  std::lock_guard<std::mutex> lock(mutex_);
  done_ = true;
  finished_.notify_all();
}

bool AlertmanagerSender::TakeBatch(std::vector<Alert>& batch) {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
  if (stopping_) return false;
  const std::size_t size = std::min(std::max<std::size_t>(options_.batchSize, 1), queue_.size());
  batch.assign(std::make_move_iterator(queue_.begin()),
               std::make_move_iterator(queue_.begin() + static_cast<std::ptrdiff_t>(size)));
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(size));
  return true;
}

void AlertmanagerSender::Deliver(const std::vector<Alert>& batch) {
  Backoff backoff(options_.firstRetry, options_.lastRetry);
  for (;;) {
    std::string reason;
    const Outcome outcome = Post(batch, reason);
    if (outcome == Outcome::kTaken) {
      RecordTaken(batch);
      return;
    }
    if (Stopping()) return;
    RecordFailure(batch.size(), outcome, reason);
    if (outcome == Outcome::kRefused || !SleepUnlessStopped(backoff.Next())) return;
  }
}

AlertmanagerSender::Outcome AlertmanagerSender::Post(const std::vector<Alert>& batch,
                                                     std::string& reason) {
  const auto result = client_->Post(path_, AlertsJson(batch), "application/json");
  if (!result) {
    reason = httplib::to_string(result.error());
    return Outcome::kFailed;
  }
  if (result->status >= 200 && result->status < 300) return Outcome::kTaken;
  reason = DescribeAnswer(*result);
  return Refused(result->status) ? Outcome::kRefused : Outcome::kFailed;
}

void AlertmanagerSender::RecordTaken(const std::vector<Alert>& batch) {
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard<std::mutex> lock(mutex_);
  counts_.sent += batch.size();
  for (const Alert& alert : batch) {
    if (alert.cued) {
      counts_.latency.Observe(std::chrono::duration<double>(now - *alert.cued).count());
    }
  }
}

void AlertmanagerSender::RecordFailure(std::size_t alerts, Outcome outcome,
                                       const std::string& reason) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    counts_.failed += alerts;
    if (outcome == Outcome::kRefused) counts_.dropped += alerts;
  }
  if (options_.onFailure) {
    const char* consequence = outcome == Outcome::kRefused ? " (refused: dropped " : " (retrying ";
    options_.onFailure(url_.Text(), reason + consequence + std::to_string(alerts) + " alerts)");
  }
}

bool AlertmanagerSender::Stopping() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stopping_;
}

bool AlertmanagerSender::SleepUnlessStopped(std::chrono::milliseconds delay) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !wake_.wait_for(lock, delay, [this] { return stopping_; });
}

}  // namespace t740::alerter
