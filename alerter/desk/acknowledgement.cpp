#include "alerter/desk/acknowledgement.h"

#include "alerter/alarms/alarm_rules.h"

namespace t740::alerter {
namespace {

constexpr char kActive[] = "active";

// Its matchers are all equal ones that name an alarm alert's labels, and
// nothing else.
std::optional<Labels> ExactLabels(const std::vector<SilenceMatcher>& matchers) {
  Labels labels;
  for (const SilenceMatcher& matcher : matchers) {
    if (matcher.isRegex || !matcher.isEqual) return std::nullopt;
    if (!labels.emplace(matcher.name, matcher.value).second) return std::nullopt;
  }
  const auto expected =
      AlarmLabels(labels["instance"], labels["card"], labels["port"], labels["alarm"]);
  if (!expected || *expected != labels) return std::nullopt;
  return labels;
}

bool Marked(const std::string& comment) {
  return comment.compare(0, sizeof kDeskCommentPrefix - 1, kDeskCommentPrefix) == 0;
}

}  // namespace

Silence SilenceOfAcknowledgement(const Acknowledgement& acknowledgement) {
  Silence silence;
  for (const auto& [name, value] : acknowledgement.labels) {
    silence.matchers.push_back({name, value, false, true});
  }
  silence.createdBy = acknowledgement.who;
  silence.comment = kDeskCommentPrefix + acknowledgement.comment;
  silence.startsAt = acknowledgement.at;
  silence.endsAt = acknowledgement.endsAt;
  return silence;
}

std::optional<Acknowledgement> AcknowledgementOfSilence(const Silence& silence) {
  if (silence.state != kActive || !Marked(silence.comment)) return std::nullopt;
  const auto labels = ExactLabels(silence.matchers);
  if (!labels) return std::nullopt;
  Acknowledgement acknowledgement;
  acknowledgement.labels = *labels;
  acknowledgement.who = silence.createdBy;
  acknowledgement.comment = silence.comment.substr(sizeof kDeskCommentPrefix - 1);
  acknowledgement.at = silence.startsAt;
  acknowledgement.endsAt = silence.endsAt;
  return acknowledgement;
}

}  // namespace t740::alerter
