#include "alerter/desk/alarm_labels.h"

#include "alerter/alarms/alarm_rules.h"

namespace t740::alerter {

std::optional<Labels> AlarmLabels(const std::string& instance, const std::string& card,
                                  const std::string& port, const std::string& alarm) {
  const AlarmRule* rule = RuleForAlarm(alarm);
  if (!rule) return std::nullopt;
  CardTarget target;
  target.instance = instance;
  target.probe.card = card;
  return AlarmAlert(target, port, *rule).labels;
}

std::string KeyOfLabels(const Labels& labels) {
  Alert alert;
  alert.labels = labels;
  return AlertKey(alert);
}

}  // namespace t740::alerter
