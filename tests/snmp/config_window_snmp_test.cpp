// The configuration window driven offscreen with the host's SNMP transport
// as its request function, against t740-sim: the same requests and the
// same answers as with the card in-process, and the pages' own messages
// when the agent does not answer.
#include <gtest/gtest.h>

#include <QTabWidget>
#include <string>

#include "child_process.h"
#include "host/commands/command_line.h"
#include "hosting/plugin/host_request.h"
#include "hosting/transport/sim_transport.h"
#include "hosting/transport/snmp_transport.h"
#include "ids/config_window_ids.h"
#include "ids/loopback_page_ids.h"
#include "ids/section_direction_ids.h"
#include "ids/section_overhead_ids.h"
#include "recording_transport.h"
#include "sim/default_card.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "windows/install_configuration_window.h"

namespace t740::test {
namespace {

namespace cw = ids::config_window;

constexpr int kWindow = cw::kTemplate;
constexpr int kLoopbackTab = 1;
constexpr int kSectionTab = 2;
constexpr int kPathTab = 3;

class ConfigWindowSnmpTest : public DialogTest {
 protected:
  ConfigWindowSnmpTest() {
    InstallConfigurationWindow();
    card.SetRequestFunction(host::HostRequestFunction());
    op.AcceptAllMessages();
  }
  ~ConfigWindowSnmpTest() override { host::SetRequestTransport(nullptr); }

  static host::HostOptions Options(std::vector<std::string> words) {
    return host::ParseCommandLine(words).options;
  }

  static void ShowTab(QWidget* window, int tab) {
    Control<QTabWidget>(window, cw::kTabs)->setCurrentIndex(tab);
  }

  // Opens the window through `transport` and works it as an operator:
  // a change and Set, then Read, on the loopback, section and path tabs.
  std::vector<Exchange> Operate(host::Transport& transport) {
    RecordingTransport recording(transport);
    host::SetRequestTransport(&recording);
    op.ClearRecords();
    op.OnDialog(kWindow, [](QWidget* window) {
      ShowTab(window, kLoopbackTab);
      QWidget* loopback = Page(window, ids::loopback_page::kTemplate);
      const int llpA = ids::loopback_page::kLlpA;
      SelectItem(loopback, llpA, CurrentIndex(loopback, llpA) == 0 ? 1 : 0);
      Click(window, cw::kSet);
      Click(window, cw::kRead);
      ShowTab(window, kSectionTab);
      QWidget* section = Page(window, ids::section_overhead::kTemplate);
      QWidget* directionA = Page(section, ids::section_overhead::kDirectionTemplates[0]);
      TypeInto(directionA, ids::section_direction::kS1Send, "0f");
      Click(window, cw::kSet);
      Click(window, cw::kRead);
      ShowTab(window, kPathTab);
      Click(window, cw::kRead);
      Click(window, cw::kSet);
      Click(window, cw::kExit);
    });
    card.OpenConfiguration(nullptr, CText(sim::kDefaultIp), CText(sim::kDefaultCardAddress),
                           &record);
    EXPECT_TRUE(op.Done());
    host::SetRequestTransport(nullptr);
    return recording.Log();
  }
};

TEST_F(ConfigWindowSnmpTest, OverSnmpTheWindowSendsAndGetsWhatItDoesInProcess) {
  SimAgent agent;
  std::ostringstream trace;
  host::SnmpTransport snmp(Options({"--snmp", agent.Address(), "--trace"}), trace);
  const std::vector<Exchange> overSnmp = Operate(snmp);
  const std::vector<std::string> snmpMessages = op.Messages();

  host::SimTransport local(Options({}));
  const std::vector<Exchange> inProcess = Operate(local);

  // Poll (4), path page load (1); Set and Read on loopback (2) and section
  // (2); path Read, its channel preselect first (2), and Set (1).
  EXPECT_EQ(overSnmp.size(), 12u);
  EXPECT_EQ(overSnmp, inProcess);
  EXPECT_EQ(snmpMessages, op.Messages());
  EXPECT_EQ(snmpMessages,
            (std::vector<std::string>{"环回控制设置成功", "开销设置成功", "高阶通道开销设置成功"}));
  EXPECT_EQ(trace.str(), "");
}

TEST_F(ConfigWindowSnmpTest, WithoutAnAnswerEachPageShowsItsMessage) {
  SimAgent agent({"--read-community", "watch", "--write-community", "steer"});
  const std::vector<std::string> quick = {"--snmp", agent.Address(),  "--snmp-timeout",
                                          "100",    "--snmp-retries", "0"};
  const std::vector<std::string> expected = {"环回控制数据信息不全", "高阶通道开销配置数据信息不全",
                                             "开销配置数据信息不全", "基本属性数据信息不全",
                                             "环回控制设置失败"};
  auto openAndSetLoopback = [this](host::Transport& transport) {
    host::SetRequestTransport(&transport);
    op.ClearRecords();
    op.OnDialog(kWindow, [](QWidget* window) {
      ShowTab(window, kLoopbackTab);
      Click(window, cw::kSet);
      Click(window, cw::kExit);
    });
    card.OpenConfiguration(nullptr, CText(sim::kDefaultIp), CText(sim::kDefaultCardAddress),
                           &record);
    host::SetRequestTransport(nullptr);
    return op.Messages();
  };

  std::ostringstream trace;
  host::SnmpTransport stranger(Options(quick), trace);  // public / private
  EXPECT_EQ(openAndSetLoopback(stranger), expected);

  ASSERT_EQ(agent.Stop(), 0);
  std::vector<std::string> rightCommunities = quick;
  rightCommunities.insert(rightCommunities.end(),
                          {"--snmp-read-community", "watch", "--snmp-write-community", "steer"});
  host::SnmpTransport stopped(Options(rightCommunities), trace);
  EXPECT_EQ(openAndSetLoopback(stopped), expected);
}

}  // namespace
}  // namespace t740::test
