#include "core/console/start_up_poll.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/recording_card.h"

namespace t740::test {
namespace {

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
