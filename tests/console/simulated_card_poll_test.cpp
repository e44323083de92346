// The start-up poll and the two pages against the simulated card: what the
// card holds arrives in the pages, and a loopback change reaches the card.
#include <gtest/gtest.h>

#include <string>

#include "ids/device_page_ids.h"
#include "ids/loopback_page_ids.h"
#include "ids/progress_dialog_ids.h"
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

namespace device = ids::device_page;
namespace loopback_box = ids::loopback_page;

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
  EXPECT_EQ(Text(&device, device::kSoftwareVersion), "V3.2");
  EXPECT_EQ(Text(&device, device::kHardwareVersion), "V0.7");
  EXPECT_EQ(Text(&device, device::kDeviceAddress), "01");
  EXPECT_EQ(Text(&device, device::kCardAddress), "07");

  CLoopbackPage loopback{card};
  loopback.Read();
  // The default card loops port D inside the card and port C back to the line.
  EXPECT_EQ(CurrentIndex(&loopback, loopback_box::kLlpD), 1);
  EXPECT_EQ(CurrentIndex(&loopback, loopback_box::kRlpC), 1);
  for (int id : {loopback_box::kLlpC, loopback_box::kLlpB, loopback_box::kLlpA, loopback_box::kRlpD,
                 loopback_box::kRlpB, loopback_box::kRlpA})
    EXPECT_EQ(CurrentIndex(&loopback, id), 0);
  EXPECT_EQ(simulated.Requests().size(), 4u);  // both pages took the poll's answers
  EXPECT_TRUE(op.Messages().empty());
}

TEST_F(SimulatedCardPoll, ALoopbackChangeInThePageReachesTheCard) {
  Poll();
  CLoopbackPage loopback{card};
  loopback.Read();
  loopback.MarkInitialLoadDone();
  SelectItem(&loopback, loopback_box::kLlpD, "不环回");
  SelectItem(&loopback, loopback_box::kRlpA, "环回");
  loopback.Set();
  EXPECT_EQ(simulated.Snapshot().loopback, 0x05);
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"环回控制设置成功"});

  // Read back from the card, not from the cache.
  SelectItem(&loopback, loopback_box::kRlpA, "不环回");
  loopback.Read();
  EXPECT_EQ(CurrentIndex(&loopback, loopback_box::kRlpA), 1);
  EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate),
            2u);  // the poll, then the read's progress
}

}  // namespace
}  // namespace t740::test
