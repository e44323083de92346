#ifndef T740_ALERTER_ALERTMANAGER_ALERT_H
#define T740_ALERTER_ALERTMANAGER_ALERT_H

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace t740::alerter {

// One alert as Alertmanager's v2 API takes it. A time left at the clock's
// epoch is unset: it is not posted, and Alertmanager fills it in.
struct Alert {
  std::map<std::string, std::string> labels;
  std::map<std::string, std::string> annotations;
  std::chrono::system_clock::time_point startsAt;
  std::chrono::system_clock::time_point endsAt;
  std::string generatorUrl;
  // When the cause was learnt (a notification's arrival, say); never posted.
  // The notifier observes posted-minus-cued.
  std::optional<std::chrono::steady_clock::time_point> cued;
  // Read back from Alertmanager (status.state: "active", "suppressed" or
  // "unprocessed"); never posted.
  std::string state;
};

// The body of POST /api/v2/alerts. Any bytes may stand in labels and
// annotations: what is not valid UTF-8 is posted as U+FFFD.
std::string AlertsJson(const std::vector<Alert>& alerts);

// The alerts of a GET /api/v2/alerts answer: labels, annotations, startsAt,
// endsAt, generatorURL and status.state. Throws std::runtime_error when the
// answer is not such a list.
std::vector<Alert> ParseAlerts(const std::string& json);

}  // namespace t740::alerter

#endif
