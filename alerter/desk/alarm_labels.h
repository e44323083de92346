// The labels an alarm's alert carries in Alertmanager, as the desk matches
// silences against them and makes its own: alertname, instance, card,
// port, alarm and severity.
#ifndef T740_ALERTER_DESK_ALARM_LABELS_H
#define T740_ALERTER_DESK_ALARM_LABELS_H

#include <map>
#include <optional>
#include <string>

namespace t740::alerter {

using Labels = std::map<std::string, std::string>;

// Nothing for an alarm no rule alerts on.
std::optional<Labels> AlarmLabels(const std::string& instance, const std::string& card,
                                  const std::string& port, const std::string& alarm);
// The alert's key (AlertKey) of those labels.
std::string KeyOfLabels(const Labels& labels);

}  // namespace t740::alerter

#endif
