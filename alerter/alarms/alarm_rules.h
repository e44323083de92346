// The alerts the alerter raises, named and labelled as the shipped
// Prometheus rules (exporter/rules/t740-alerts.yml) name and label theirs,
// so that Alertmanager, which knows an alert by its labels, takes the
// notification road's alert and the polling road's as one: alertname,
// instance (the agent, ADDRESS:PORT), card, port, alarm and severity.
#ifndef T740_ALERTER_ALARMS_ALARM_RULES_H
#define T740_ALERTER_ALARMS_ALARM_RULES_H

#include <optional>
#include <string>

#include "alerter/alertmanager/alert.h"
#include "alerter/cards/card_target.h"

namespace t740::alerter {

constexpr char kUnreachableAlert[] = "T740CardUnreachable";

struct AlarmRule {
  const char* alarm;  // as the plug-in names it
  const char* alertname;
  const char* severity;
  const char* what;  // for the summary
};

// The rule for an alarm the card reports; nothing for one no rule alerts on.
const AlarmRule* RuleForAlarm(const std::string& alarm);
// The rule for an alert name; nothing for one not the alerter's.
const AlarmRule* RuleForAlertname(const std::string& alertname);

// The alert for `alarm` on `port` of the card, its times unset.
Alert AlarmAlert(const CardTarget& card, const std::string& port, const AlarmRule& rule);
// The alert for a card that does not answer.
Alert UnreachableAlert(const CardTarget& card);

// Names an alert by its labels, as Alertmanager does.
std::string AlertKey(const Alert& alert);

}  // namespace t740::alerter

#endif
