// The start-up poll and the two pages against the simulated card: what the
// card holds arrives in the pages, and a loopback change reaches the card.
#include <gtest/gtest.h>

#include "pages/loopback_page.h"
#include "pages/property_page1.h"
#include "sim/default_card.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "widgets/poll_progress_dlg.h"

namespace t740::test {
namespace {

class SimulatedCardPoll : public DialogTest {
 protected:
  SimulatedCardPoll()
      : simulated(sim::DefaultIdentity(), sim::DefaultCardState(), [] { return 1'700'000'100; }) {
    card.SetRequestFunction(sim::BindRequestFunction(simulated));
    SetIdentity(sim::kDefaultIp, sim::kDefaultCardAddress);
    op.AcceptAllMessages();
  }
  ~SimulatedCardPoll() override { sim::UnbindRequestFunction(simulated); }

  void Poll() {
    CPollProgressDlg dialog(1, &card, nullptr);
    dialog.exec();
  }

  std::string AskCard(const char* suffix) {
    CText response;
    simulated.Request(0, CText(sim::kDefaultIp), CText(ReadOid(suffix)), CText("1"), CText(),
                      &response);
    return std::string(response.view());
  }

  sim::SimulatedCard simulated;
};

TEST_F(SimulatedCardPoll, FillsTheCachesFromTheCard) {
  Poll();
  const auto requests = simulated.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].oid, ReadOid(".1"));
  EXPECT_EQ(requests[3].oid, ReadOid(".51"));
  // Each cache holds the card's answer for its own group.
  EXPECT_EQ(card.GetBasicInfoCache(), AskCard(".1"));
  EXPECT_EQ(card.GetLoopbackCache(), AskCard(".11"));
  EXPECT_EQ(card.GetSectionOverheadCache(), AskCard(".12"));
  EXPECT_EQ(card.GetThresholdCache(), AskCard(".51"));
  EXPECT_FALSE(card.GetThresholdCache().empty());
  EXPECT_TRUE(op.Messages().empty());
}

TEST_F(SimulatedCardPoll, ThePagesShowWhatTheCardHolds) {
  simulated.Update([](sim::CardModel& model) { model.State().versionDigits = "3207"; });
  Poll();
  CPropertyPage1 device{card};
  device.Read();
  EXPECT_EQ(Text(&device, 1078), "V3.2");
  EXPECT_EQ(Text(&device, 1079), "V0.7");
  EXPECT_EQ(Text(&device, 1089), "01");
  EXPECT_EQ(Text(&device, 1081), "07");

  CLoopbackPage loopback{card};
  loopback.Read();
  // The default card loops port D inside the card and port C back to the line.
  EXPECT_EQ(CurrentIndex(&loopback, 1019), 1);  // LLP D
  EXPECT_EQ(CurrentIndex(&loopback, 1025), 1);  // RLP C
  for (int id : {1021, 1018, 1020, 1024, 1022, 1023}) EXPECT_EQ(CurrentIndex(&loopback, id), 0);
  EXPECT_EQ(simulated.Requests().size(), 4u);  // both pages took the poll's answers
  EXPECT_TRUE(op.Messages().empty());
}

TEST_F(SimulatedCardPoll, ALoopbackChangeInThePageReachesTheCard) {
  Poll();
  CLoopbackPage loopback{card};
  loopback.Read();
  loopback.MarkInitialLoadDone();
  SelectItem(&loopback, 1019, "不环回");  // LLP D off
  SelectItem(&loopback, 1023, "环回");    // RLP A on
  loopback.Set();
  EXPECT_EQ(simulated.Snapshot().loopback, 0x05);
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"环回控制设置成功"});

  // Read back from the card, not from the cache.
  SelectItem(&loopback, 1023, "不环回");
  loopback.Read();
  EXPECT_EQ(CurrentIndex(&loopback, 1023), 1);
  EXPECT_EQ(op.CountShown("1011"), 2u);  // the poll, then the read's progress
}

}  // namespace
}  // namespace t740::test
