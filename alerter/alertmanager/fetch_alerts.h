#ifndef T740_ALERTER_ALERTMANAGER_FETCH_ALERTS_H
#define T740_ALERTER_ALERTMANAGER_FETCH_ALERTS_H

#include <chrono>
#include <string>
#include <vector>

#include "alerter/alertmanager/alert.h"
#include "alerter/alertmanager/alertmanager_url.h"

namespace t740::alerter {

// The alerts Alertmanager holds now, silenced and inhibited ones included,
// that match every one of `filters` (matchers such as `job="t740"`): what
// the alerter reconciles with at its start. Throws std::runtime_error when
// Alertmanager cannot be asked or answers otherwise than with its list.
std::vector<Alert> FetchAlerts(const AlertmanagerUrl& url, const std::vector<std::string>& filters,
                               std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace t740::alerter

#endif
