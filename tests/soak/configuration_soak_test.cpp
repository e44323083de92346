// Soak of the configuration window against the simulated card: the window
// is opened and closed again and again, each time with a random fault of
// the card's transport at the opening, then random edits and Read and Set
// presses on random tabs, each press under a random fault of its own (an
// answer cut short, an empty or untouched response, a refused write, a slow
// answer, a transport that throws). After every press the operator has seen
// exactly the page's own messages, and the card holds exactly what the last
// write reported as successful sent it; the remark file likewise holds the
// last successful save.
//
// T740_SOAK_SECONDS (default 20) bounds the run; T740_SOAK_SEED repeats one.
// The threshold window has a soak of its own (threshold_soak_test.cpp).
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>

#include "core/card/host_directory.h"
#include "core/console/loopback_record.h"
#include "ids/config_window_ids.h"
#include "ids/loopback_page_ids.h"
#include "ids/path_overhead_ids.h"
#include "ids/port_user_ids.h"
#include "ids/progress_dialog_ids.h"
#include "ids/section_direction_ids.h"
#include "ids/section_overhead_ids.h"
#include "ids/user_info_dialog_ids.h"
#include "sim/default_card.h"
#include "sim/fault.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "soak_faults.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "windows/install_configuration_window.h"

namespace t740::test {
namespace {

namespace fs = std::filesystem;
namespace cw = ids::config_window;
namespace sd = ids::section_direction;
namespace so = ids::section_overhead;
namespace po = ids::path_overhead;
using Messages = std::vector<std::string>;

// Tabs of the configuration window.
enum Tab { kDeviceTab, kLoopbackTab, kSectionTab, kPathTab, kPortUserTab, kTabCount };

// Full responses of the simulated card, head included.
struct GroupResponse {
  const char* suffix;
  size_t responseLength;
};
constexpr GroupResponse kBasicInfo = {".1", 10};
constexpr GroupResponse kLoopback = {".11", 8};
constexpr GroupResponse kSection = {".12", 486};
constexpr GroupResponse kPath = {".13", 122};
constexpr GroupResponse kThresholds = {".51", 438};

constexpr char kDirectionLetters[] = "ABCD";

struct EditCheck {
  int id;
  size_t length;
  const char* message;  // UTF-8
};
// The editable values of a section direction, in the order they are checked.
constexpr EditCheck kSectionChecks[] = {
    {sd::kJ0Expected, 32, "方向 J0期望接收值长度不是32位!"},
    {sd::kJ0Send, 32, "方向 J0发送值长度不是32位!"},
    {sd::kK1Send, 2, "方向 k1发送值长度不是2位!"},
    {sd::kK2Send, 2, "方向 k2发送值长度不是2位!"},
    {sd::kS1Send, 2, "方向 S1发送值长度不是2位!"},
    {sd::kZ0Send, 2, "方向 Z0发送值长度不是2位!"},
};
constexpr EditCheck kPathChecks[] = {
    {po::kJ1Expected, 32, "J1期望接收值长度不是32位!"},
    {po::kC2Expected, 2, "C2期望接收值长度不是2位!"},
    {po::kJ1Send, 32, "J1发送值长度不是32位!"},
    {po::kC2Send, 2, "C2发送值长度不是2位!"},
    {po::kK3Send, 2, "K3发送值长度不是2位!"},
    {po::kN1Send, 2, "N1发送值长度不是2位!"},
};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The settings the pages write, as the card keeps them.
struct Settings {
  uint8_t loopback = 0;
  std::array<sim::SectionSettings, sim::kPortCount> section;
  std::array<std::array<sim::PathSettings, sim::kVc4Count>, sim::kPortCount> paths;
  std::array<uint16_t, sim::kThresholdCount> thresholds{};
};

Settings SettingsOf(const sim::CardState& state) {
  Settings settings;
  settings.loopback = state.loopback;
  for (int port = 0; port < sim::kPortCount; ++port) {
    settings.section[port] = state.ports[port].section;
    settings.paths[port] = state.ports[port].paths;
  }
  settings.thresholds = state.thresholds;
  return settings;
}

// Where the two differ, for the failure message; empty when equal.
std::string Difference(const Settings& card, const Settings& expected) {
  std::string difference;
  auto compare = [&](const std::string& what, const std::string& got, const std::string& want) {
    if (got != want) difference += what + ": card " + got + ", expected " + want + "\n";
  };
  compare("loopback", std::to_string(card.loopback), std::to_string(expected.loopback));
  for (int p = 0; p < sim::kPortCount; ++p) {
    const std::string port(1, kDirectionLetters[p]);
    const sim::SectionSettings& a = card.section[p];
    const sim::SectionSettings& b = expected.section[p];
    compare(port + " J0 expected", a.expectedJ0, b.expectedJ0);
    compare(port + " J0 send", a.send.j0, b.send.j0);
    compare(port + " K1 send", a.send.k1, b.send.k1);
    compare(port + " K2 send", a.send.k2, b.send.k2);
    compare(port + " S1 send", a.send.s1, b.send.s1);
    compare(port + " Z0 send", a.sendZ0, b.sendZ0);
    for (int v = 0; v < sim::kVc4Count; ++v) {
      const std::string channel = port + "/VC4-" + std::to_string(v + 1);
      const sim::PathSettings& c = card.paths[p][v];
      const sim::PathSettings& d = expected.paths[p][v];
      compare(channel + " J1 expected", c.expectedJ1, d.expectedJ1);
      compare(channel + " C2 expected", c.expectedC2, d.expectedC2);
      compare(channel + " J1 send", c.send.j1, d.send.j1);
      compare(channel + " C2 send", c.send.c2, d.send.c2);
      compare(channel + " K3 send", c.sendK3, d.sendK3);
      compare(channel + " G1 send", c.sendG1, d.sendG1);
      compare(channel + " N1 send", c.sendN1, d.sendN1);
    }
  }
  if (card.thresholds != expected.thresholds) difference += "thresholds changed\n";
  return difference;
}

class ConfigurationSoakTest : public DialogTest {
 protected:
  ConfigurationSoakTest()
      : simulated(sim::DefaultIdentity(), sim::DefaultCardState(), sim::WallClock(),
                  sim::kDefaultUptimeSeconds),
        seed(SeedFromEnvironment()),
        random(seed) {
    InstallConfigurationWindow();
    card.SetRequestFunction(sim::BindRequestFunction(simulated));
    expected = SettingsOf(simulated.Snapshot());
    devices = fs::path(HostDirectory()) / "Devices";
    remarkFile =
        devices / (std::string(sim::kDefaultIp) + sim::kDefaultCardAddress + "t740_Remark.ini");
    fs::create_directories(devices);
    fs::remove(remarkFile);
    op.AcceptAllMessages();
  }
  ~ConfigurationSoakTest() override {
    sim::UnbindRequestFunction(simulated);
    fs::remove(remarkFile);
  }

  int Uniform(int low, int high) { return random.Uniform(low, high); }
  bool Chance(double p) { return random.Chance(p); }
  std::optional<sim::Fault> RandomFault(const std::string& target) { return random.Fault(target); }

  // Injects the fault into the card and into `plan`, which then tells what
  // each request of the press comes back as.
  void Inject(const std::optional<sim::Fault>& fault, sim::FaultPlan& plan) {
    simulated.ClearFaults();
    if (!fault) return;
    simulated.InjectFault(*fault);
    plan.Add(*fault);
  }

  std::string RandomHex(size_t length) {
    static const char kDigits[] = "0123456789ABCDEFabcdef";
    std::string hex;
    for (size_t i = 0; i < length; ++i) hex += kDigits[Uniform(0, 21)];
    return hex;
  }
  // Mostly a value of the right length, sometimes one the page refuses.
  std::string RandomValue(size_t length) {
    if (Chance(0.85)) return RandomHex(length);
    if (Chance(0.3) && length == 32) return RandomHex(40);  // the edit cuts it to 32
    const size_t wrong[] = {0, length - 1, length + 1};
    return RandomHex(wrong[Uniform(0, 2)]);
  }

  static void SetEdit(QWidget* page, int id, const std::string& ascii) {
    if (auto* edit = Control<QLineEdit>(page, id)) edit->setText(QString::fromLatin1(ascii));
  }
  static std::string EditText(QWidget* page, int id) { return TextGbk(page, id); }
  static void ShowTab(QWidget* window, int tab) {
    Control<QTabWidget>(window, cw::kTabs)->setCurrentIndex(tab);
  }

  // Opens the window as the host does, with a fault at the opening, runs
  // the presses inside it and closes it with Exit.
  void RunOpening(int opening) {
    SCOPED_TRACE("opening " + std::to_string(opening));
    sim::FaultPlan plan;
    const std::optional<sim::Fault> fault =
        RandomFault(std::vector<std::string>{".1", ".11", ".12", ".51", ".13"}[Uniform(0, 4)]);
    Inject(fault, plan);
    const Messages openingMessages = PredictOpening(plan);
    op.ClearRecords();
    op.OnDialog(cw::kTemplate, [this, openingMessages](QWidget* window) {
      EXPECT_EQ(op.Messages(), openingMessages) << "at the opening";
      EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), 1u);
      simulated.ClearFaults();
      CheckCard("after the opening");
      const int presses = Uniform(4, 14);
      for (int press = 0; press < presses && !HasFatalFailure(); ++press) {
        SCOPED_TRACE("press " + std::to_string(press));
        Press(window);
      }
      const size_t requestsBeforeExit = simulated.Requests().size();
      Click(window, cw::kExit);
      EXPECT_EQ(simulated.Requests().size(), requestsBeforeExit);
    });
    card.OpenConfiguration(nullptr, CText(sim::kDefaultIp), CText(sim::kDefaultCardAddress),
                           &record);
    EXPECT_TRUE(op.Done()) << "the window did not open";
    CheckCard("after closing");
  }

  // The poll reads four groups into the caches, then the path page reads
  // for itself; the pages report short data in their load order.
  Messages PredictOpening(sim::FaultPlan& plan) {
    auto poll = [&](const GroupResponse& group) {
      const Reply reply = ReplyUnder(plan.Take(group.suffix, false), group.responseLength, false);
      return reply.thrown ? 0 : reply.length;  // the worker keeps nothing of a throw
    };
    const size_t basic = poll(kBasicInfo);
    const size_t loopback = poll(kLoopback);
    const size_t section = poll(kSection);
    poll(kThresholds);
    const Reply path = ReplyUnder(plan.Take(kPath.suffix, false), kPath.responseLength, false);
    Messages messages;
    if (loopback < 7) messages.push_back("环回控制数据信息不全");
    if (!path.thrown && path.length < 120) messages.push_back("高阶通道开销配置数据信息不全");
    if (section < 440) messages.push_back("开销配置数据信息不全");
    if (basic < 10) messages.push_back("基本属性数据信息不全");
    return messages;
  }

  struct Expectation {
    Messages messages;
    size_t progress = 0;              // display-mode progress dialogs
    std::function<void()> onSuccess;  // what the card then holds
    bool succeeds = false;
  };

  // A message and nothing sent.
  static Expectation MessageOnly(std::string message) {
    Expectation expectation;
    expectation.messages.push_back(std::move(message));
    return expectation;
  }

  void Press(QWidget* window) {
    const int tab = Uniform(0, kTabCount - 1);
    const bool set = Chance(0.5);
    ShowTab(window, tab);
    Edit(window, tab);
    sim::FaultPlan plan;
    static const char* const kTargets[] = {".1", ".11", ".12", ".13", ".13"};
    Inject(RandomFault(kTargets[tab]), plan);
    const Expectation expectation = Predict(window, tab, set, plan);
    op.ClearRecords();
    const size_t requestsBefore = simulated.Requests().size();
    Click(window, set ? cw::kSet : cw::kRead);
    simulated.ClearFaults();
    const std::string what = std::string(set ? "Set" : "Read") + " on tab " + std::to_string(tab);
    EXPECT_EQ(op.Messages(), expectation.messages) << what;
    for (const std::string& message : op.Messages()) ++outcomes[message];
    ++outcomes[expectation.progress ? "(progress shown)" : "(no progress)"];
    EXPECT_EQ(op.CountShown(ids::progress_dialog::kTemplate), expectation.progress) << what;
    if (tab == kDeviceTab) {
      EXPECT_EQ(simulated.Requests().size(), requestsBefore) << what;
    }
    if (expectation.succeeds) expectation.onSuccess();
    CheckCard(what);
  }

  Expectation Predict(QWidget* window, int tab, bool set, sim::FaultPlan& plan) {
    switch (tab) {
      case kLoopbackTab:
        return set ? PredictLoopbackSet(window, plan)
                   : PredictRead(plan, kLoopback, 7, "环回控制数据信息不全");
      case kSectionTab:
        return set ? PredictSectionSet(window, plan)
                   : PredictRead(plan, kSection, 440, "开销配置数据信息不全");
      case kPathTab:
        return set ? PredictPathSet(window, plan) : PredictPathRead(window, plan);
      case kPortUserTab:
        return set ? PredictRemarkSave(window) : PredictRemarkLoad();
      default:
        return {};
    }
  }

  // A read after the window's first load: the group's message for a short
  // response, the progress animation for one long enough.
  static Expectation PredictRead(sim::FaultPlan& plan, const GroupResponse& group, size_t minimum,
                                 const char* shortMessage) {
    const Reply reply = ReplyUnder(plan.Take(group.suffix, false), group.responseLength, false);
    Expectation expectation;
    if (reply.thrown) return expectation;
    if (reply.length < minimum) {
      expectation.messages.push_back(shortMessage);
    } else {
      expectation.progress = 1;
    }
    return expectation;
  }

  static Expectation PredictWrite(sim::FaultPlan& plan, const GroupResponse& group,
                                  const char* success, const char* failure) {
    const Reply reply = ReplyUnder(plan.Take(group.suffix, true), 1, true);
    Expectation expectation;
    expectation.succeeds = reply.accepted;
    expectation.messages.push_back(reply.accepted ? success : failure);
    return expectation;
  }

  Expectation PredictLoopbackSet(QWidget* window, sim::FaultPlan& plan) {
    QWidget* page = Page(window, ids::loopback_page::kTemplate);
    uint8_t byte = 0;
    for (int id : ids::loopback_page::kBoxes)
      byte = static_cast<uint8_t>(byte << 1 | (CurrentIndex(page, id) != 0));
    Expectation expectation = PredictWrite(plan, kLoopback, "环回控制设置成功", "环回控制设置失败");
    expectation.onSuccess = [this, byte] { expected.loopback = byte; };
    return expectation;
  }

  Expectation PredictSectionSet(QWidget* window, sim::FaultPlan& plan) {
    QWidget* sectionPage = Page(window, so::kTemplate);
    std::array<sim::SectionSettings, sim::kPortCount> sent;
    for (int d = 0; d < sim::kPortCount; ++d) {
      QWidget* page = Page(sectionPage, so::kDirectionTemplates[d]);
      for (const EditCheck& check : kSectionChecks) {
        if (EditText(page, check.id).size() != check.length) {
          return MessageOnly(std::string(1, kDirectionLetters[d]) + check.message);
        }
      }
      sent[d].expectedJ0 = Upper(EditText(page, sd::kJ0Expected));
      sent[d].send.j0 = Upper(EditText(page, sd::kJ0Send));
      sent[d].send.k1 = Upper(EditText(page, sd::kK1Send));
      sent[d].send.k2 = Upper(EditText(page, sd::kK2Send));
      sent[d].send.s1 = Upper(EditText(page, sd::kS1Send));
      sent[d].sendZ0 = Upper(EditText(page, sd::kZ0Send));
    }
    Expectation expectation = PredictWrite(plan, kSection, "开销设置成功", "开销设置失败");
    expectation.onSuccess = [this, sent] {
      for (int d = 0; d < sim::kPortCount; ++d) {
        expected.section[d].expectedJ0 = sent[d].expectedJ0;
        expected.section[d].send.j0 = sent[d].send.j0;
        expected.section[d].send.k1 = sent[d].send.k1;
        expected.section[d].send.k2 = sent[d].send.k2;
        expected.section[d].send.s1 = sent[d].send.s1;
        expected.section[d].sendZ0 = sent[d].sendZ0;
      }
    };
    return expectation;
  }

  Expectation PredictPathSet(QWidget* window, sim::FaultPlan& plan) {
    QWidget* page = Page(window, po::kTemplate);
    for (const EditCheck& check : kPathChecks) {
      if (EditText(page, check.id).size() != check.length) return MessageOnly(check.message);
    }
    const int port = CurrentIndex(page, po::kPort);
    const int vc4 = CurrentIndex(page, po::kVc4);
    sim::PathSettings sent;
    sent.expectedJ1 = Upper(EditText(page, po::kJ1Expected));
    sent.expectedC2 = Upper(EditText(page, po::kC2Expected));
    sent.send.j1 = Upper(EditText(page, po::kJ1Send));
    sent.send.c2 = Upper(EditText(page, po::kC2Send));
    sent.sendK3 = Upper(EditText(page, po::kK3Send));
    sent.sendG1 = CurrentIndex(page, po::kG1Send) == 0 ? "00" : "08";
    sent.sendN1 = Upper(EditText(page, po::kN1Send));
    Expectation expectation =
        PredictWrite(plan, kPath, "高阶通道开销设置成功", "高阶通道开销设置失败");
    expectation.onSuccess = [this, port, vc4, sent] { expected.paths[port][vc4] = sent; };
    return expectation;
  }

  // Read on the path tab first writes the shown channel, if the shown
  // record is long enough to send, then reads; neither shows progress.
  Expectation PredictPathRead(QWidget* window, sim::FaultPlan& plan) {
    QWidget* page = Page(window, po::kTemplate);
    size_t selectLength = 2 + 2 + 2 + 32 + 2 + 2 + 2;  // mode, channel, received, reserved, G1
    for (const EditCheck& check : kPathChecks) selectLength += EditText(page, check.id).size();
    Expectation expectation;
    if (selectLength < 60) {
      expectation.messages.push_back("高阶通道开销配置数据不全");
    } else {
      plan.Take(kPath.suffix, true);
    }
    const Reply reply = ReplyUnder(plan.Take(kPath.suffix, false), kPath.responseLength, false);
    if (!reply.thrown && reply.length < 60) {
      expectation.messages.push_back("高阶通道开销配置数据信息不全");
    }
    return expectation;
  }

  // Load shows the progress animation only when it read a file.
  Expectation PredictRemarkLoad() {
    Expectation expectation;
    expectation.progress = fs::exists(remarkFile) ? 1 : 0;
    return expectation;
  }

  Expectation PredictRemarkSave(QWidget* window) {
    Expectation expectation;
    if (!fs::is_directory(devices)) return MessageOnly("Write error!");
    std::string content;
    QWidget* page = Page(window, ids::port_user::kTemplate);
    auto* list = Control<QAbstractItemView>(page, ids::port_user::kList);
    for (int row = 0; row < 4; ++row) {
      content += Gbk(list->model()->index(row, 1).data().toString().toStdString()) + ",";
    }
    content += ";";
    expectation.messages.push_back("设置成功!");
    expectation.succeeds = true;
    expectation.onSuccess = [this, content] { expectedRemarks = content; };
    return expectation;
  }

  void Edit(QWidget* window, int tab) {
    if (!Chance(0.6)) return;
    switch (tab) {
      case kLoopbackTab: {
        QWidget* page = Page(window, ids::loopback_page::kTemplate);
        for (int id : ids::loopback_page::kBoxes)
          Control<QComboBox>(page, id)->setCurrentIndex(Uniform(0, 1));
        break;
      }
      case kSectionTab: {
        QWidget* page = Page(Page(window, so::kTemplate), so::kDirectionTemplates[Uniform(0, 3)]);
        for (int i = Uniform(1, 3); i > 0; --i) {
          const EditCheck& check = kSectionChecks[Uniform(0, 5)];
          SetEdit(page, check.id, RandomValue(check.length));
        }
        break;
      }
      case kPathTab: {
        QWidget* page = Page(window, po::kTemplate);
        for (int id : {po::kPort, po::kVc4}) {
          if (Chance(0.5)) Control<QComboBox>(page, id)->setCurrentIndex(Uniform(0, 3));
        }
        if (Chance(0.3)) Control<QComboBox>(page, po::kG1Send)->setCurrentIndex(Uniform(0, 1));
        for (int i = Uniform(0, 2); i > 0; --i) {
          const EditCheck& check = kPathChecks[Uniform(0, 5)];
          SetEdit(page, check.id, RandomValue(check.length));
        }
        break;
      }
      case kPortUserTab:
        EditRemark(window);
        break;
      default:
        break;
    }
  }

  // A remark typed in the edit dialog, or the Devices directory taken away
  // or brought back.
  void EditRemark(QWidget* window) {
    if (Chance(0.15)) {
      if (fs::is_directory(devices)) {
        fs::remove_all(devices);
        expectedRemarks.reset();
      } else {
        fs::create_directories(devices);
      }
      return;
    }
    static const char* const kRemarks[] = {"", "甲线 13900001111", "beta", "王五;备注", "x"};
    const int row = Uniform(0, 3);
    const std::string remark = kRemarks[Uniform(0, 4)];
    auto* list =
        Control<QAbstractItemView>(Page(window, ids::port_user::kTemplate), ids::port_user::kList);
    const QPoint centre = list->visualRect(list->model()->index(row, 1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    op.OnDialog(ids::user_info_dialog::kTemplate, [remark](QWidget* dialog) {
      if (auto* edit = Control<QLineEdit>(dialog, ids::user_info_dialog::kRemark))
        edit->setText(QString::fromStdString(remark));
      Click(dialog, ids::user_info_dialog::kOk);
    });
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_TRUE(op.Done()) << "the remark dialog did not open";
  }

  void CheckCard(const std::string& when) {
    const std::string difference = Difference(SettingsOf(simulated.Snapshot()), expected);
    EXPECT_TRUE(difference.empty()) << when << ":\n" << difference;
    std::ifstream file(remarkFile, std::ios::binary);
    const std::optional<std::string> remarks =
        file ? std::optional<std::string>(std::string(std::istreambuf_iterator<char>(file), {}))
             : std::nullopt;
    EXPECT_EQ(remarks, expectedRemarks) << when << ": the remark file";
  }

  sim::SimulatedCard simulated;
  unsigned seed;
  SoakRandom random;
  Settings expected;
  fs::path devices;
  fs::path remarkFile;
  std::optional<std::string> expectedRemarks;
  std::map<std::string, int> outcomes;  // how often each message was seen
};

TEST_F(ConfigurationSoakTest, OpeningsReadsAndSetsUnderRandomFaults) {
  std::cout << "soak seed " << seed << " (T740_SOAK_SEED repeats it)" << std::endl;
  SCOPED_TRACE("T740_SOAK_SEED=" + std::to_string(seed));
  const auto budget = BudgetFromEnvironment();
  const auto start = std::chrono::steady_clock::now();
  int openings = 0;
  while ((openings < 3 || std::chrono::steady_clock::now() - start < budget) && !HasFailure()) {
    RunOpening(openings++);
  }
  std::cout << openings << " openings; outcomes of the presses:" << std::endl;
  for (const auto& [outcome, count] : outcomes)
    std::cout << "  " << count << "  " << outcome << std::endl;
}

}  // namespace
}  // namespace t740::test
