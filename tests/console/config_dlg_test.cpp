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
#include <string>
#include <vector>

#include "ids/config_window_ids.h"
#include "ids/device_page_ids.h"
#include "ids/loopback_page_ids.h"
#include "ids/port_user_ids.h"
#include "ids/progress_dialog_ids.h"
#include "ids/section_direction_ids.h"
#include "ids/section_overhead_ids.h"
#include "ids/threshold_page_ids.h"
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

namespace cw = ids::config_window;
namespace device = ids::device_page;
namespace section = ids::section_direction;

const std::string kWindow = std::to_string(cw::kTemplate);
const std::string kProgress = std::to_string(ids::progress_dialog::kTemplate);

// How FocusRound names a tab bar.
std::string TabsOf(int tabControl) {
  return std::to_string(tabControl) + "/tabs";
}

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
    op.OnDialog(kWindow, [inside](QWidget* window) {
      inside(window);
      Click(window, cw::kExit);
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
    Control<QTabWidget>(window, cw::kTabs)->setCurrentIndex(index);
  }
};

TEST_F(ConfigDlgTest, OpeningPollsFourGroupsReadsThePathAndExitWritesNothing) {
  op.AcceptAllMessages();
  Open([](QWidget* window) {
    auto* tabs = Control<QTabWidget>(window, cw::kTabs);
    ASSERT_TRUE(tabs);
    EXPECT_EQ(window->windowTitle(), "t740");
    const char* captions[] = {"设备信息", "环回控制", "段开销配置", "高阶通道开销配置",
                              "端口用户信息"};
    ASSERT_EQ(tabs->count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->tabText(i).toStdString(), captions[i]);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(Text(Page(window, device::kTemplate), device::kSoftwareVersion), "V2.1");
  });
  EXPECT_EQ(Oids(), (std::vector<std::string>{ReadOid(".1"), ReadOid(".11"), ReadOid(".12"),
                                              ReadOid(".51"), ReadOid(".13")}));
  for (const auto& request : host.Requests()) EXPECT_EQ(request.operation, 0);
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(op.ModalsShown(), (std::vector<std::string>{kProgress, kWindow}));
}

// Once the newest card object is released there is no current card; an
// older object's window then works on that object and reads through its host.
TEST_F(ConfigDlgTest, AfterTheNewestCardIsReleasedAnOlderOneReadsThroughItsOwnHost) {
  auto* newest = new CCardObject();
  SetCurrentCard(newest);
  newest->Release();
  ASSERT_EQ(CurrentCard(), nullptr);
  Open([](QWidget* window) {
    EXPECT_EQ(Text(Page(window, device::kTemplate), device::kSoftwareVersion), "V2.1");
  });
  EXPECT_EQ(Oids(), (std::vector<std::string>{ReadOid(".1"), ReadOid(".11"), ReadOid(".12"),
                                              ReadOid(".51"), ReadOid(".13")}));
  EXPECT_TRUE(op.Messages().empty());
}

TEST_F(ConfigDlgTest, ReadAndSetOnTheDeviceTabDoNothing) {
  Open([this](QWidget* window) {
    host.Clear();
    Click(window, cw::kRead);
    Click(window, cw::kSet);
    EXPECT_TRUE(host.Requests().empty());
  });
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(op.CountShown(kProgress), 1u);
}

TEST_F(ConfigDlgTest, ReadOnEachTabAsksTheCardAgain) {
  Open([this](QWidget* window) {
    host.Clear();
    ShowTab(window, 1);
    Click(window, cw::kRead);
    ShowTab(window, 2);
    Click(window, cw::kRead);
    ShowTab(window, 3);
    Click(window, cw::kRead);
    ShowTab(window, 4);
    Click(window, cw::kRead);
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
  EXPECT_EQ(op.CountShown(kProgress), 3u);
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
      Click(window, cw::kSet);
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
    auto* tabs = Control<QTabWidget>(window, cw::kTabs);
    ASSERT_TRUE(tabs);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(QApplication::focusWidget(), tabs->tabBar());
    const std::vector<std::string> buttons{std::to_string(cw::kRead), std::to_string(cw::kSet),
                                           std::to_string(cw::kExit), TabsOf(cw::kTabs)};
    for (int tab = 0; tab < tabs->count(); ++tab) {
      ShowTab(window, tab);
      tabs->tabBar()->setFocus(Qt::OtherFocusReason);
      const std::vector<std::string> round = FocusRound(Qt::Key_Tab);
      ASSERT_GE(round.size(), buttons.size()) << "tab " << tab;
      EXPECT_EQ(std::vector<std::string>(round.end() - 4, round.end()), buttons) << "tab " << tab;
      EXPECT_EQ(std::count(round.begin(), round.end(), TabsOf(cw::kTabs)), 1) << "tab " << tab;
      std::vector<std::string> back(round.rbegin() + 1, round.rend());
      back.push_back(TabsOf(cw::kTabs));
      EXPECT_EQ(FocusRound(Qt::Key_Backtab), back) << "tab " << tab;
      if (tab == 2) {
        std::vector<std::string> page{TabsOf(ids::section_overhead::kDirectionTabs)};
        for (int id : {section::kJ0Expected, section::kJ0Send, section::kK1Send, section::kK2Send,
                       section::kS1Send, section::kZ0Send})
          page.push_back(std::to_string(id));
        page.insert(page.end(), buttons.begin(), buttons.end());
        EXPECT_EQ(round, page);
      }
      if (tab == 4) {
        std::vector<std::string> page{std::to_string(ids::port_user::kList)};
        page.insert(page.end(), buttons.begin(), buttons.end());
        EXPECT_EQ(round, page);
      }
    }
  });
}

TEST_F(ConfigDlgTest, EachOpeningPollsAgainAndTheNewCachesWin) {
  Open([](QWidget* window) {
    EXPECT_EQ(Text(Page(window, device::kTemplate), device::kSoftwareVersion), "V2.1");
  });
  AnswerAll("3412");
  host.Clear();
  Open([](QWidget* window) {
    EXPECT_EQ(Text(Page(window, device::kTemplate), device::kSoftwareVersion), "V3.4");
    EXPECT_EQ(Text(Page(window, device::kTemplate), device::kHardwareVersion), "V1.2");
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
    EXPECT_EQ(Text(Page(window, device::kTemplate), device::kSoftwareVersion), "V2.1");
    EXPECT_EQ(Text(Page(window, ids::loopback_page::kTemplate), ids::loopback_page::kLlpB), "环回");
    host.Answer(ReadOid(".11"), "01000000");
    ShowTab(window, 1);
    Click(window, cw::kRead);
    EXPECT_EQ(Text(Page(window, ids::loopback_page::kTemplate), ids::loopback_page::kLlpB),
              "不环回");
  });
  EXPECT_EQ(op.CountShown(kProgress), 2u);
}

TEST_F(ConfigDlgTest, TheHeldThresholdContainerTakesThePollFirstThenAsksTheCard) {
  Open([this](QWidget* window) {
    CThresholdTabDlg& container = static_cast<CConfigDlg*>(window)->Thresholds();
    host.Clear();
    container.ReadThresholds();
    EXPECT_TRUE(host.Requests().empty());
    EXPECT_EQ(Text(&container.FirstPage(), ids::threshold_page::kEdits[0]), "300");
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
    op.OnDialog(kWindow, [](QWidget* window) { Click(window, cw::kExit); });
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
    op.OnDialog(kWindow, [inside](QWidget* window) {
      inside(window);
      Click(window, cw::kExit);
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
    EXPECT_EQ(Text(Page(window, device::kTemplate), device::kSoftwareVersion), "V2.1");
    EXPECT_EQ(Text(Page(window, device::kTemplate), device::kDeviceAddress), "01");
    EXPECT_EQ(Text(Page(window, device::kTemplate), device::kCardAddress), "07");
    QWidget* loopback = Page(window, ids::loopback_page::kTemplate);
    Control<QTabWidget>(window, cw::kTabs)->setCurrentIndex(1);
    SelectItem(loopback, ids::loopback_page::kLlpA,
               CurrentIndex(loopback, ids::loopback_page::kLlpA) == 0 ? 1 : 0);
    Click(window, cw::kSet);
    Control<QTabWidget>(window, cw::kTabs)->setCurrentIndex(2);
    // Ids repeat between pages: direction page A has the number of the
    // loopback box RLP A, so it is looked up inside the section overhead page.
    QWidget* directionA = Page(Page(window, ids::section_overhead::kTemplate),
                               ids::section_overhead::kDirectionTemplates[0]);
    TypeInto(directionA, section::kS1Send, "0f");
    Click(window, cw::kSet);
  });
  const sim::CardState after = simulated.Snapshot();
  EXPECT_EQ(after.loopback, before.loopback ^ 0x10);
  EXPECT_EQ(after.ports[0].section.send.s1, "0F");
  EXPECT_EQ(op.Messages(), (std::vector<std::string>{"环回控制设置成功", "开销设置成功"}));
}

}  // namespace
}  // namespace t740::test
