// The threshold container and its pages as the operator sees them.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <string>

#include "ids/config_window_ids.h"
#include "ids/threshold_container_ids.h"
#include "ids/threshold_page_ids.h"
#include "ids/threshold_window_ids.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "support/screenshot.h"
#include "windows/install_configuration_window.h"
#include "windows/threshold_tab_dlg.h"
#include "windows/threshold_window.h"

namespace t740::test {
namespace {

namespace container_ids = ids::threshold_container;
namespace page_ids = ids::threshold_page;
namespace tw = ids::threshold_window;

// The edits of the first counter (regenerator section, 15 minutes), of the
// last and of the last higher-order path one, by port block index.
constexpr int kFirstEdit = page_ids::kEdits[0];
constexpr int kLastEdit = page_ids::kEdits[53];
constexpr int kLastPathEdit = page_ids::kEdits[43];

// A complete threshold response whose first value of each port is given
// (four hex digits, low byte first).
std::string Response(const std::string& first, const std::string& second) {
  std::string data(432, '0');
  data.replace(0, 4, first);
  data.replace(216, 4, second);
  return "D80000" + data;
}

class ThresholdDialogTest : public DialogTest {
 protected:
  ThresholdDialogTest() { SetIdentity("10.1.2.3", "0107"); }
};

TEST_F(ThresholdDialogTest, PortPairChoosesTheTabsAndTheButtonsStayHidden) {
  CThresholdTabDlg ab{card};
  EXPECT_EQ(ab.objectName(), IdName(container_ids::kTemplate));
  ASSERT_EQ(ab.Tabs()->count(), 2);
  EXPECT_EQ(ab.Tabs()->tabText(0), "A光口");
  EXPECT_EQ(ab.Tabs()->tabText(1), "B光口");
  EXPECT_EQ(ab.FirstPage().objectName(), IdName(page_ids::kFirstTemplate));
  EXPECT_EQ(ab.SecondPage().objectName(), IdName(page_ids::kSecondTemplate));
  for (int id : {container_ids::kHiddenRead, container_ids::kHiddenSet}) {
    auto* button = Control<QPushButton>(&ab, id);
    ASSERT_TRUE(button);
    EXPECT_FALSE(button->isVisibleTo(&ab));
    EXPECT_FALSE(button->isEnabled());
  }
  SetIdentity("10.1.2.3", "0108");
  CThresholdTabDlg cd{card};
  EXPECT_EQ(cd.Tabs()->tabText(0), "C光口");
  EXPECT_EQ(cd.Tabs()->tabText(1), "D光口");
}

TEST_F(ThresholdDialogTest, FirstReadFillsBothPagesFromTheCacheLaterReadsAskTheCard) {
  card.SetThresholdCache(Response("2C01", "FFFF"));
  host.Answer(ReadOid(".51"), Response("0A00", "0000"));
  CThresholdTabDlg container{card};
  container.ReadThresholds();
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(Text(&container.FirstPage(), kFirstEdit), "300");
  EXPECT_EQ(Text(&container.SecondPage(), kFirstEdit), "65535");
  EXPECT_EQ(Text(&container.FirstPage(), kLastEdit), "0");
  container.ReadThresholds();
  ASSERT_EQ(host.Requests().size(), 1u);
  EXPECT_EQ(host.Requests()[0].oid, ReadOid(".51"));
  EXPECT_EQ(Text(&container.FirstPage(), kFirstEdit), "10");
}

TEST_F(ThresholdDialogTest, ShortResponseLeavesTheEdits) {
  card.SetThresholdCache(Response("2C01", "0000").substr(0, 437));
  CThresholdTabDlg container{card};
  Control<QLineEdit>(&container.FirstPage(), kFirstEdit)->setText("17");
  op.AcceptAllMessages();
  container.ReadThresholds();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"门限设置数据信息不全"});
  EXPECT_EQ(Text(&container.FirstPage(), kFirstEdit), "17");
}

TEST_F(ThresholdDialogTest, FailureOnTheHiddenSecondPageIsNamedWithItsPrefix) {
  CThresholdTabDlg container{card};
  container.show();
  Control<QLineEdit>(&container.SecondPage(), kLastPathEdit)->setText("１２");
  op.AcceptAllMessages();
  container.WriteThresholds();
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(op.Messages(), std::vector<std::string>{
                               "B光口: 高阶通道,24小时,负指针调整输入必须为 0 -- 65535 之间整数"});
  EXPECT_EQ(container.Tabs()->currentIndex(), 0);
  EXPECT_EQ(Text(&container.SecondPage(), kLastPathEdit), "１２");
}

TEST_F(ThresholdDialogTest, WritePutsEachPagesValuesAtTheirOffsets) {
  host.OnRequest([](const RecordedRequest&, CText* response) { *response = "1"; });
  CThresholdTabDlg container{card};
  Control<QLineEdit>(&container.FirstPage(), kFirstEdit)->setText("300");
  Control<QLineEdit>(&container.SecondPage(), kFirstEdit)->setText("00300");
  op.AcceptAllMessages();
  container.WriteThresholds();
  ASSERT_EQ(host.Requests().size(), 1u);
  const std::string value = host.Requests()[0].value;
  EXPECT_EQ(value.size(), 438u);
  EXPECT_EQ(value.substr(0, 6), "D80000");
  EXPECT_EQ(value.substr(6, 4), "2C01");
  EXPECT_EQ(value.substr(222, 4), "2C01");
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"门限设置成功"});
}

TEST_F(ThresholdDialogTest, BothClearButtonsSendTheSameRequest) {
  CThresholdTabDlg container{card};
  container.show();
  op.AcceptAllMessages();
  Click(&container.FirstPage(), page_ids::kClear);
  container.Tabs()->setCurrentIndex(1);
  host.OnRequest([](const RecordedRequest&, CText* response) { *response = "1"; });
  Click(&container.SecondPage(), page_ids::kClear);
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].oid, "1.3.6.1.4.1.47291.2.1.1.85.2.01.07.50");
  EXPECT_EQ(requests[1].oid, requests[0].oid);
  EXPECT_EQ(requests[0].value, "000000");
  EXPECT_EQ(requests[1].value, "000000");
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"清零失败", "清零成功"}));
}

TEST_F(ThresholdDialogTest, WindowReadsAndWritesThroughItsButtons) {
  card.SetThresholdCache(Response("2C01", "0000"));
  CThresholdWindow window{card};
  window.Container().ReadThresholds();
  host.Answer(ReadOid(".51"), Response("FFFF", "0000"));
  op.OnDialog(tw::kName, [](QWidget* w) {
    SaveScreenshot(w, "thresholds");
    Click(w, tw::kRead);
    Click(w, tw::kSet);
    Click(w, tw::kExit);
  });
  op.AcceptAllMessages();
  window.exec();
  EXPECT_TRUE(op.Done());
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].operation, 0);
  EXPECT_EQ(requests[1].operation, 1);
  EXPECT_EQ(requests[1].value.substr(6, 4), "FFFF");
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"门限设置失败"});
}

// The window of OpenThresholds has no poll behind it: opened for card B
// after a configuration window of card A left A's thresholds in the cache,
// it asks card B and shows B's values.
TEST_F(ThresholdDialogTest, WindowOpenedForAnotherCardAsksThatCard) {
  InstallConfigurationWindow();
  op.AcceptAllMessages();
  host.Answer(ReadOid(".51"), Response("2C01", "2C01"));  // card A: 300
  op.OnDialog(ids::config_window::kTemplate,
              [](QWidget* window) { Click(window, ids::config_window::kExit); });
  card.OpenConfiguration(nullptr, CText("10.1.2.3"), CText("0107"), &record);
  ASSERT_TRUE(op.Done());
  ASSERT_EQ(card.GetThresholdCache(), Response("2C01", "2C01"));

  host.Clear();
  const std::string cardB = BuildCardOid("0108", Operation::Read, ".51");
  host.Answer(cardB, Response("FFFF", "0A00"));  // card B: 65535 and 10
  std::string first, second, tab;
  op.OnDialog(tw::kName, [&](QWidget* window) {
    auto* container = Control<CThresholdTabDlg>(window, container_ids::kTemplate);
    ASSERT_TRUE(container);
    first = Text(&container->FirstPage(), kFirstEdit);
    second = Text(&container->SecondPage(), kFirstEdit);
    tab = container->Tabs()->tabText(0).toStdString();
    Click(window, tw::kExit);
  });
  RunThresholdWindow(nullptr, card, "10.1.2.4", "0108");
  EXPECT_TRUE(op.Done());
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 0);
  EXPECT_EQ(requests[0].ip, "10.1.2.4");
  EXPECT_EQ(requests[0].oid, cardB);
  EXPECT_EQ(first, "65535");
  EXPECT_EQ(second, "10");
  EXPECT_EQ(tab, "C光口");
}

}  // namespace
}  // namespace t740::test
