#include "console/start_up_poll.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/recording_card.h"

namespace t740::test {
namespace {

TEST(StartUpPoll, FetchesFourGroupsAtSteps30To120IntoTheirCaches) {
  const auto& reads = PollReads();
  EXPECT_EQ(reads[0].step, 30);
  EXPECT_EQ(reads[3].step, 120);
  EXPECT_EQ(PollReadAt(60)->group, GroupId::Loopback);
  EXPECT_EQ(PollReadAt(90)->group, GroupId::SectionOverhead);
  EXPECT_EQ(PollReadAt(0), nullptr);
  EXPECT_EQ(PollReadAt(149), nullptr);

  CCardObject card;
  StorePollResults(card, {"a", "b", "c", "d"});
  EXPECT_EQ(card.GetBasicInfoCache(), "a");
  EXPECT_EQ(card.GetLoopbackCache(), "b");
  EXPECT_EQ(card.GetSectionOverheadCache(), "c");
  EXPECT_EQ(card.GetThresholdCache(), "d");
}

TEST(StartUpPoll, AReadAsksTheCardAndSurvivesAThrowingHost) {
  RecordingCard host;
  CCardObject card;
  card.SetRequestFunction(RecordingCard::Function());
  card.SetIdentity("192.168.0.9", "0204");
  const IdentifierFields fields = SplitCardAddress(card.CardAddress());
  host.Answer("1.3.6.1.4.1.47291.2.1.1.85.1.02.04.51", "D80000FF");
  EXPECT_EQ(FetchPollGroup(card, fields, GroupId::Thresholds), "D80000FF");
  // Unanswered: the host leaves the empty response as it was.
  EXPECT_EQ(FetchPollGroup(card, fields, GroupId::BasicInfo), "");

  host.OnRequest([](const RecordedRequest&, CText*) { throw std::runtime_error("no route"); });
  EXPECT_EQ(FetchPollGroup(card, fields, GroupId::Loopback), "");
  ASSERT_EQ(host.Requests().size(), 3u);
  EXPECT_EQ(host.Requests()[2].oid, "1.3.6.1.4.1.47291.2.1.1.85.1.02.04.11");
}

}  // namespace
}  // namespace t740::test
