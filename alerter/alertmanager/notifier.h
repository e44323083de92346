#ifndef T740_ALERTER_ALERTMANAGER_NOTIFIER_H
#define T740_ALERTER_ALERTMANAGER_NOTIFIER_H

#include <memory>
#include <vector>

#include "alerter/alertmanager/alert.h"
#include "alerter/alertmanager/alertmanager_sender.h"
#include "alerter/alertmanager/alertmanager_url.h"

namespace t740::alerter {

struct NotifierCounts {
  std::vector<AlertmanagerCounts> alertmanagers;  // in the order they were given
};

// Posts alerts to every given Alertmanager, each through its own bounded
// queue and thread, so that one Alertmanager down delays none of the others
// and loses nothing within its queue's bound.
class Notifier {
 public:
  Notifier(const std::vector<AlertmanagerUrl>& alertmanagers, DeliveryOptions options);
  ~Notifier();
  Notifier(const Notifier&) = delete;
  Notifier& operator=(const Notifier&) = delete;

  // Queues the alerts for every Alertmanager; never blocks on the network.
  void Send(const std::vector<Alert>& alerts);
  // Ends every sender thread promptly; what is still queued is not posted.
  void Stop();
  NotifierCounts Counts() const;

 private:
  std::vector<std::unique_ptr<AlertmanagerSender>> senders_;
};

}  // namespace t740::alerter

#endif
