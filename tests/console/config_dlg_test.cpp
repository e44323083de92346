// The configuration window from opening to closing: the start-up poll, the
// pages' first loads, Read and Set by tab, and Exit.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <map>
#include <stdexcept>

#include "sim/default_card.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "support/held_pause.h"
#include "windows/config_dlg.h"
#include "windows/install_configuration_window.h"

namespace t740::test {
namespace {

std::string Complete(const std::string& head, const std::string& data, size_t length) {
  std::string response = head + data;
  response.resize(length, '0');
  return response;
}

class ConfigDlgTest : public DialogTest {
 protected:
  ConfigDlgTest() {
    InstallConfigurationWindow();
    AnswerAll("2110");
  }

  // Complete answers to every read, with these version digits.
  std::map<std::string, std::string> Answers(const std::string& versions) const {
    return {{ReadOid(".1"), "010000" + versions},
            {ReadOid(".11"), "0100003C"},
            {ReadOid(".12"), Complete("F00000", "", 486)},
            {ReadOid(".13"), Complete("3C0000", "000102", 122)},
            {ReadOid(".51"), Complete("D80000", "2C01", 438)}};
  }
  void AnswerAll(const std::string& versions) {
    for (const auto& [oid, response] : Answers(versions)) host.Answer(oid, response);
  }

  // Opens the window as the host does and runs `inside` while it is shown.
  void Open(std::function<void(QWidget*)> inside) {
    op.OnDialog("1000", [inside](QWidget* window) {
      inside(window);
      Click(window, 1010);
    });
    card.OpenConfiguration(nullptr, CText("10.1.2.3"), CText("0105"), &record);
    EXPECT_TRUE(op.Done());
  }

  std::vector<std::string> Oids() const {
    std::vector<std::string> oids;
    for (const auto& request : host.Requests()) oids.push_back(request.oid);
    return oids;
  }

  static void ShowTab(QWidget* window, int index) {
    Control<QTabWidget>(window, 1006)->setCurrentIndex(index);
  }
};

TEST_F(ConfigDlgTest, OpeningPollsFourGroupsReadsThePathAndExitWritesNothing) {
  op.AcceptAllMessages();
  Open([](QWidget* window) {
    auto* tabs = Control<QTabWidget>(window, 1006);
    ASSERT_TRUE(tabs);
    EXPECT_EQ(window->windowTitle(), "t740");
    const char* captions[] = {"设备信息", "环回控制", "段开销配置", "高阶通道开销配置",
                              "端口用户信息"};
    ASSERT_EQ(tabs->count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->tabText(i).toStdString(), captions[i]);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(Text(Page(window, 1001), 1078), "V2.1");
  });
  EXPECT_EQ(Oids(), (std::vector<std::string>{ReadOid(".1"), ReadOid(".11"), ReadOid(".12"),
                                              ReadOid(".51"), ReadOid(".13")}));
  for (const auto& request : host.Requests()) EXPECT_EQ(request.operation, 0);
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(op.ModalsShown(), (std::vector<std::string>{"1011", "1000"}));
}

TEST_F(ConfigDlgTest, ReadAndSetOnTheDeviceTabDoNothing) {
  Open([this](QWidget* window) {
    host.Clear();
    Click(window, 1005);
    Click(window, 1004);
    EXPECT_TRUE(host.Requests().empty());
  });
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(op.CountShown("1011"), 1u);
}

TEST_F(ConfigDlgTest, ReadOnEachTabAsksTheCardAgain) {
  Open([this](QWidget* window) {
    host.Clear();
    ShowTab(window, 1);
    Click(window, 1005);
    ShowTab(window, 2);
    Click(window, 1005);
    ShowTab(window, 3);
    Click(window, 1005);
    ShowTab(window, 4);
    Click(window, 1005);
  });
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].oid, ReadOid(".11"));
  EXPECT_EQ(requests[1].oid, ReadOid(".12"));
  EXPECT_EQ(requests[2].oid, WriteOid(".13"));
  EXPECT_EQ(requests[2].value.substr(0, 8), "3C000000");
  EXPECT_EQ(requests[3].oid, ReadOid(".13"));
  // The poll, then the later loopback and section overhead reads; the port
  // user read found no remark file and so has nothing to show.
  EXPECT_EQ(op.CountShown("1011"), 3u);
}

TEST_F(ConfigDlgTest, SetOnEachWritableTabSendsItsGroup) {
  host.OnRequest([reads = Answers("2110")](const RecordedRequest& request, CText* response) {
    if (request.operation == 1) {
      *response = "1";
      return;
    }
    const auto found = reads.find(request.oid);
    if (found != reads.end()) *response = CText(found->second);
  });
  op.AcceptAllMessages();
  Open([this](QWidget* window) {
    host.Clear();
    for (int tab = 0; tab < 4; ++tab) {
      ShowTab(window, tab);
      Click(window, 1004);
    }
  });
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].oid, WriteOid(".11"));
  EXPECT_EQ(requests[0].value, "0100003C");
  EXPECT_EQ(requests[1].oid, WriteOid(".12"));
  EXPECT_EQ(requests[1].value.size(), 486u);
  EXPECT_EQ(requests[2].oid, WriteOid(".13"));
  EXPECT_EQ(requests[2].value.size(), 122u);
  EXPECT_EQ(op.Messages(),
            (std::vector<std::string>{"环回控制设置成功", "开销设置成功", "高阶通道开销设置成功"}));
}

// Tab goes round the window as it is laid out: the tab bar, the shown
// page's controls, then Read, Set and Exit; Shift+Tab the same way back.
TEST_F(ConfigDlgTest, TabGoesFromTheTabBarThroughThePageToTheButtons) {
  Open([](QWidget* window) {
    auto* tabs = Control<QTabWidget>(window, 1006);
    ASSERT_TRUE(tabs);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(QApplication::focusWidget(), tabs->tabBar());
    const std::vector<std::string> buttons{"1005", "1004", "1010", "1006/tabs"};
    for (int tab = 0; tab < tabs->count(); ++tab) {
      ShowTab(window, tab);
      tabs->tabBar()->setFocus(Qt::OtherFocusReason);
      const std::vector<std::string> round = FocusRound(Qt::Key_Tab);
      ASSERT_GE(round.size(), buttons.size()) << "tab " << tab;
      EXPECT_EQ(std::vector<std::string>(round.end() - 4, round.end()), buttons) << "tab " << tab;
      EXPECT_EQ(std::count(round.begin(), round.end(), "1006/tabs"), 1) << "tab " << tab;
      std::vector<std::string> back(round.rbegin() + 1, round.rend());
      back.push_back("1006/tabs");
      EXPECT_EQ(FocusRound(Qt::Key_Backtab), back) << "tab " << tab;
      if (tab == 2) {
        EXPECT_EQ(round,
                  (std::vector<std::string>{"1047/tabs", "1031", "1032", "1033", "1034", "1035",
                                            "1036", "1005", "1004", "1010", "1006/tabs"}));
      }
      if (tab == 4) {
        EXPECT_EQ(round, (std::vector<std::string>{"1090", "1005", "1004", "1010", "1006/tabs"}));
      }
    }
  });
}

TEST_F(ConfigDlgTest, EachOpeningPollsAgainAndTheNewCachesWin) {
  Open([](QWidget* window) { EXPECT_EQ(Text(Page(window, 1001), 1078), "V2.1"); });
  AnswerAll("3412");
  host.Clear();
  Open([](QWidget* window) {
    EXPECT_EQ(Text(Page(window, 1001), 1078), "V3.4");
    EXPECT_EQ(Text(Page(window, 1001), 1079), "V1.2");
  });
  EXPECT_EQ(host.Requests().size(), 5u);
  EXPECT_EQ(card.GetBasicInfoCache(), "0100003412");
}

// The poll's worker closes its dialog and then pauses 100 ms more; the
// window shows its pages without waiting for that pause, and a Read's
// progress animation does not wait for its worker's either.
TEST_F(ConfigDlgTest, PagesShowTheirValuesAsSoonAsTheProgressDialogCloses) {
  HeldPause held(100);  // every worker's last pause, held until the end
  card.SetPause(held);
  Open([&](QWidget* window) {
    EXPECT_TRUE(held.reached.IsOpen());
    EXPECT_EQ(Text(Page(window, 1001), 1078), "V2.1");
    EXPECT_EQ(Text(Page(window, 1012), 1018), "环回");
    host.Answer(ReadOid(".11"), "01000000");
    ShowTab(window, 1);
    Click(window, 1005);
    EXPECT_EQ(Text(Page(window, 1012), 1018), "不环回");
  });
  EXPECT_EQ(op.CountShown("1011"), 2u);
}

TEST_F(ConfigDlgTest, TheHeldThresholdContainerTakesThePollFirstThenAsksTheCard) {
  Open([this](QWidget* window) {
    CThresholdTabDlg& container = static_cast<CConfigDlg*>(window)->Thresholds();
    host.Clear();
    container.ReadThresholds();
    EXPECT_TRUE(host.Requests().empty());
    EXPECT_EQ(Text(&container.FirstPage(), 1023), "300");
    container.ReadThresholds();
    EXPECT_EQ(Oids(), std::vector<std::string>{ReadOid(".51")});
  });
}

TEST_F(ConfigDlgTest, ThrowingHostStillGivesAWindowWithEachPagesMessageOnce) {
  host.OnRequest([](const RecordedRequest&, CText*) { throw std::runtime_error("link down"); });
  op.AcceptAllMessages();
  Open([](QWidget*) {});
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"环回控制数据信息不全", "开销配置数据信息不全",
                                                     "基本属性数据信息不全"}));
}

TEST_F(ConfigDlgTest, SilentHostGivesTheIncompleteMessagesOfEveryPage) {
  host.OnRequest([](const RecordedRequest&, CText*) {});
  op.AcceptAllMessages();
  Open([](QWidget*) {});
  EXPECT_EQ(op.Messages(),
            (std::vector<std::string>{"环回控制数据信息不全", "高阶通道开销配置数据信息不全",
                                      "开销配置数据信息不全", "基本属性数据信息不全"}));
}

TEST_F(ConfigDlgTest, AHundredOpeningsInOneProcess) {
  op.AcceptAllMessages();
  for (int i = 0; i < 100; ++i) {
    op.OnDialog("1000", [](QWidget* window) { Click(window, 1010); });
    card.OpenConfiguration(nullptr, CText("10.1.2.3"), CText("0105"), &record);
  }
  EXPECT_TRUE(op.Done());
  EXPECT_EQ(host.Requests().size(), 500u);
}

class ConfigDlgSimulatedCardTest : public DialogTest {
 protected:
  ConfigDlgSimulatedCardTest()
      : simulated(sim::DefaultIdentity(), sim::DefaultCardState(), sim::WallClock(),
                  sim::kDefaultUptimeSeconds) {
    InstallConfigurationWindow();
    card.SetRequestFunction(sim::BindRequestFunction(simulated));
  }
  ~ConfigDlgSimulatedCardTest() override { sim::UnbindRequestFunction(simulated); }

  void Open(std::function<void(QWidget*)> inside) {
    op.OnDialog("1000", [inside](QWidget* window) {
      inside(window);
      Click(window, 1010);
    });
    card.OpenConfiguration(nullptr, CText(sim::kDefaultIp), CText(sim::kDefaultCardAddress),
                           &record);
    EXPECT_TRUE(op.Done());
  }

  sim::SimulatedCard simulated;
};

TEST_F(ConfigDlgSimulatedCardTest, PagesShowTheCardAndChangesReachIt) {
  const sim::CardState before = simulated.Snapshot();
  op.AcceptAllMessages();
  Open([](QWidget* window) {
    EXPECT_EQ(Text(Page(window, 1001), 1078), "V2.1");
    EXPECT_EQ(Text(Page(window, 1001), 1089), "01");
    EXPECT_EQ(Text(Page(window, 1001), 1081), "07");
    QWidget* loopback = Page(window, 1012);
    Control<QTabWidget>(window, 1006)->setCurrentIndex(1);
    SelectItem(loopback, 1020, CurrentIndex(loopback, 1020) == 0 ? 1 : 0);
    Click(window, 1004);
    Control<QTabWidget>(window, 1006)->setCurrentIndex(2);
    // Ids repeat between pages: loopback box 1023 is not direction page 1023.
    QWidget* directionA = Page(Page(window, 1025), 1023);
    TypeInto(directionA, 1035, "0f");
    Click(window, 1004);
  });
  const sim::CardState after = simulated.Snapshot();
  EXPECT_EQ(after.loopback, before.loopback ^ 0x10);
  EXPECT_EQ(after.ports[0].section.send.s1, "0F");
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"环回控制设置成功", "开销设置成功"}));
}

}  // namespace
}  // namespace t740::test
