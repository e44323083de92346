#include "alerter/alarms/alarm_rules.h"

namespace t740::alerter {
namespace {

constexpr AlarmRule kRules[] = {
    {"STM-LOS", "T740LossOfSignal", "critical", "Loss of signal"},
    {"STM-LOF", "T740LossOfFrame", "critical", "Loss of frame"},
    {"RS-OOF", "T740OutOfFrame", "warning", "Out of frame"},
    {"RS-TIM", "T740TraceMismatch", "warning", "Trace identifier mismatch"},
};

constexpr AlarmRule kUnreachable{"", kUnreachableAlert, "critical", "No answer"};

std::string CardWords(const CardTarget& card) {
  return "card " + card.probe.card + " at " + card.instance;
}

}  // namespace

const AlarmRule* RuleForAlarm(const std::string& alarm) {
  for (const AlarmRule& rule : kRules) {
    if (alarm == rule.alarm) return &rule;
  }
  return nullptr;
}

const AlarmRule* RuleForAlertname(const std::string& alertname) {
  if (alertname == kUnreachable.alertname) return &kUnreachable;
  for (const AlarmRule& rule : kRules) {
    if (alertname == rule.alertname) return &rule;
  }
  return nullptr;
}

Alert AlarmAlert(const CardTarget& card, const std::string& port, const AlarmRule& rule) {
  Alert alert;
  alert.labels = {{"alertname", rule.alertname}, {"instance", card.instance},
                  {"card", card.probe.card},     {"port", port},
                  {"alarm", rule.alarm},         {"severity", rule.severity}};
  alert.annotations = {
      {"summary", std::string(rule.what) + " on port " + port + " of " + CardWords(card)}};
  return alert;
}

Alert UnreachableAlert(const CardTarget& card) {
  Alert alert;
  alert.labels = {{"alertname", kUnreachable.alertname},
                  {"instance", card.instance},
                  {"card", card.probe.card},
                  {"severity", kUnreachable.severity}};
  alert.annotations = {{"summary", "t740 " + CardWords(card) + " does not answer"}};
  return alert;
}

// Each label after its length, so that no two label sets meet.
std::string AlertKey(const Alert& alert) {
  std::string key;
  for (const auto& [name, value] : alert.labels) {
    key += std::to_string(name.size()) + ":" + name + std::to_string(value.size()) + ":" + value;
  }
  return key;
}

}  // namespace t740::alerter
