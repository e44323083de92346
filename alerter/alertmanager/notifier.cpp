#include "alerter/alertmanager/notifier.h"

namespace t740::alerter {

Notifier::Notifier(const std::vector<AlertmanagerUrl>& alertmanagers, DeliveryOptions options) {
  for (const AlertmanagerUrl& url : alertmanagers) {
    senders_.push_back(std::make_unique<AlertmanagerSender>(url, options));
  }
}

Notifier::~Notifier() {
  Stop();
}

void Notifier::Send(const std::vector<Alert>& alerts) {
  for (auto& sender : senders_) sender->Enqueue(alerts);
}

void Notifier::Stop() {
  for (auto& sender : senders_) sender->Stop();
}

NotifierCounts Notifier::Counts() const {
  NotifierCounts counts;
  for (const auto& sender : senders_) counts.alertmanagers.push_back(sender->Counts());
  return counts;
}

}  // namespace t740::alerter
