// Which alarms a silence covers, as Alertmanager decides it, and the
// silence an acknowledgement becomes: nothing but the alarm's labels, each
// an equal matcher, so that it silences that alarm alone.
#include <gtest/gtest.h>

#include <chrono>

#include "alerter/alertmanager/rfc3339.h"
#include "alerter/desk/acknowledgement.h"
#include "alerter/desk/silence.h"
#include "alerter/json/json_value.h"

namespace t740::alerter {
namespace {

using Kind = JsonValue::Kind;

Labels LossOfSignal() {
  return *AlarmLabels("127.0.0.2:1161", "0104", "B", "STM-LOS");
}

Silence Of(std::vector<SilenceMatcher> matchers) {
  Silence silence;
  silence.matchers = std::move(matchers);
  return silence;
}

TEST(SilenceMatchesTest, EveryMatcherMustMatchAsAlertmanagerReadsIt) {
  const Labels labels = LossOfSignal();
  const struct {
    std::vector<SilenceMatcher> matchers;
    bool silences;
  } kCases[] = {
      {{{"port", "B", false, true}}, true},
      {{{"port", "A", false, true}}, false},
      {{{"port", "B", false, true}, {"card", "0105", false, true}}, false},
      // Anchored at both ends, alternatives included.
      {{{"alarm", "STM-.*", true, true}}, true},
      {{{"alarm", "LOS", true, true}}, false},
      {{{"alarm", "STM-LOF|STM-LO", true, true}}, false},
      {{{"instance", "127\\.0\\.0\\.2:.+|10\\..*", true, true}}, true},
      // Negative: != and !~.
      {{{"severity", "warning", false, false}}, true},
      {{{"severity", "critical", false, false}}, false},
      {{{"alarm", "RS-.*", true, false}}, true},
      {{{"alarm", "STM-.*", true, false}}, false},
      // A label the alert lacks is empty.
      {{{"team", "", false, true}}, true},
      {{{"team", ".+", true, true}}, false},
      {{{"team", "sdh", false, false}}, true},
      // An expression this library cannot read covers nothing.
      {{{"alarm", "(", true, true}}, false},
  };
  for (const auto& one : kCases) {
    const Silence silence = Of(one.matchers);
    EXPECT_EQ(SilenceMatches(silence, labels), one.silences) << SilenceJson(silence);
  }
}

TEST(AcknowledgementSilenceTest, IsTheAlarmsExactLabelsFromNowForThirtyDays) {
  Acknowledgement acknowledgement;
  acknowledgement.labels = LossOfSignal();
  acknowledgement.who = "alice";
  acknowledgement.comment = "fibre crew \"sent\" <b>";
  acknowledgement.at = ParseRfc3339("2024-05-01T12:00:00.250Z");
  acknowledgement.endsAt = acknowledgement.at + kAcknowledgementLife;

  const JsonValue posted = ParseJson(SilenceJson(SilenceOfAcknowledgement(acknowledgement)));
  Labels matched;
  for (const JsonValue& matcher : posted.Member("matchers", Kind::kArray).items) {
    EXPECT_FALSE(matcher.Member("isRegex", Kind::kBool).boolean);
    EXPECT_TRUE(matcher.Member("isEqual", Kind::kBool).boolean);
    matched[matcher.Member("name", Kind::kString).text] =
        matcher.Member("value", Kind::kString).text;
  }
  EXPECT_EQ(matched, acknowledgement.labels);
  EXPECT_EQ(posted.Member("startsAt", Kind::kString).text, "2024-05-01T12:00:00.250Z");
  EXPECT_EQ(posted.Member("endsAt", Kind::kString).text, "2024-05-31T12:00:00.250Z");
  EXPECT_EQ(posted.Member("createdBy", Kind::kString).text, "alice");
  EXPECT_EQ(posted.Member("comment", Kind::kString).text,
            std::string(kDeskCommentPrefix) + acknowledgement.comment);
  EXPECT_EQ(posted.OptionalMember("id", Kind::kString), nullptr);
}

// At a restart the desk takes back its own silences and no other.
TEST(AcknowledgementSilenceTest, OnlyTheDesksActiveExactSilencesAreTakenBack) {
  Acknowledgement acknowledgement;
  acknowledgement.labels = LossOfSignal();
  acknowledgement.who = "alice";
  acknowledgement.comment = "sent";
  Silence own = SilenceOfAcknowledgement(acknowledgement);
  own.state = "active";
  const auto taken = AcknowledgementOfSilence(own);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->labels, acknowledgement.labels);
  EXPECT_EQ(taken->who, "alice");
  EXPECT_EQ(taken->comment, "sent");

  Silence expired = own;
  expired.state = "expired";
  Silence byHand = own;
  byHand.comment = "sent";
  Silence wider = own;
  wider.matchers.front().isRegex = true;
  Silence narrower = own;
  narrower.matchers.push_back({"team", "sdh", false, true});
  Silence fewer = own;
  fewer.matchers.pop_back();
  for (const Silence& other : {expired, byHand, wider, narrower, fewer}) {
    EXPECT_FALSE(AcknowledgementOfSilence(other)) << SilenceJson(other);
  }
}

}  // namespace
}  // namespace t740::alerter
