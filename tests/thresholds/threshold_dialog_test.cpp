// The threshold container and its pages as the operator sees them.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "support/screenshot.h"
#include "windows/install_configuration_window.h"
#include "windows/threshold_tab_dlg.h"
#include "windows/threshold_window.h"

namespace t740::test {
namespace {

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
  EXPECT_EQ(ab.objectName(), "1029");
  ASSERT_EQ(ab.Tabs()->count(), 2);
  EXPECT_EQ(ab.Tabs()->tabText(0), "A光口");
  EXPECT_EQ(ab.Tabs()->tabText(1), "B光口");
  EXPECT_EQ(ab.FirstPage().objectName(), "1027");
  EXPECT_EQ(ab.SecondPage().objectName(), "1030");
  for (int id : {1004, 1005}) {
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
  EXPECT_EQ(Text(&container.FirstPage(), 1023), "300");
  EXPECT_EQ(Text(&container.SecondPage(), 1023), "65535");
  EXPECT_EQ(Text(&container.FirstPage(), 1074), "0");
  container.ReadThresholds();
  ASSERT_EQ(host.Requests().size(), 1u);
  EXPECT_EQ(host.Requests()[0].oid, ReadOid(".51"));
  EXPECT_EQ(Text(&container.FirstPage(), 1023), "10");
}

TEST_F(ThresholdDialogTest, ShortResponseLeavesTheEdits) {
  card.SetThresholdCache(Response("2C01", "0000").substr(0, 437));
  CThresholdTabDlg container{card};
  Control<QLineEdit>(&container.FirstPage(), 1023)->setText("17");
  op.AcceptAllMessages();
  container.ReadThresholds();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"门限设置数据信息不全"});
  EXPECT_EQ(Text(&container.FirstPage(), 1023), "17");
}

TEST_F(ThresholdDialogTest, FailureOnTheHiddenSecondPageIsNamedWithItsPrefix) {
  CThresholdTabDlg container{card};
  container.show();
  Control<QLineEdit>(&container.SecondPage(), 1085)->setText("１２");
  op.AcceptAllMessages();
  container.WriteThresholds();
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_EQ(op.Messages(), std::vector<std::string>{
                               "B光口: 高阶通道,24小时,负指针调整输入必须为 0 -- 65535 之间整数"});
  EXPECT_EQ(container.Tabs()->currentIndex(), 0);
  EXPECT_EQ(Text(&container.SecondPage(), 1085), "１２");
}

TEST_F(ThresholdDialogTest, WritePutsEachPagesValuesAtTheirOffsets) {
  host.OnRequest([](const RecordedRequest&, CText* response) { *response = "1"; });
  CThresholdTabDlg container{card};
  Control<QLineEdit>(&container.FirstPage(), 1023)->setText("300");
  Control<QLineEdit>(&container.SecondPage(), 1023)->setText("00300");
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
  Click(&container.FirstPage(), 1004);
  container.Tabs()->setCurrentIndex(1);
  host.OnRequest([](const RecordedRequest&, CText* response) { *response = "1"; });
  Click(&container.SecondPage(), 1004);
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
  op.OnDialog("ThresholdWindow", [](QWidget* w) {
    SaveScreenshot(w, "thresholds");
    Click(w, 1005);
    Click(w, 1004);
    Click(w, 1010);
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
  op.OnDialog("1000", [](QWidget* window) { Click(window, 1010); });
  card.OpenConfiguration(nullptr, CText("10.1.2.3"), CText("0107"), &record);
  ASSERT_TRUE(op.Done());
  ASSERT_EQ(card.GetThresholdCache(), Response("2C01", "2C01"));

  host.Clear();
  const std::string cardB = BuildCardOid("0108", Operation::Read, ".51");
  host.Answer(cardB, Response("FFFF", "0A00"));  // card B: 65535 and 10
  std::string first, second, tab;
  op.OnDialog("ThresholdWindow", [&](QWidget* window) {
    auto* container = Control<CThresholdTabDlg>(window, 1029);
    ASSERT_TRUE(container);
    first = Text(&container->FirstPage(), 1023);
    second = Text(&container->SecondPage(), 1023);
    tab = container->Tabs()->tabText(0).toStdString();
    Click(window, 1010);
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
