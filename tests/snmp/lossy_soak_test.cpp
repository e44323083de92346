// Soak of the configuration window and the threshold window over SNMP
// against t740-sim behind a lossy link (lost requests, answers lost after
// the card acted, duplicates, jitter). Every press shows exactly the
// message its requests' outcomes call for, no request waits past its
// bound, and the card afterwards holds the last write reported as
// successful or a later one whose answer was lost, never anything else.
//
// T740_SOAK_SECONDS sets the run's length (default 8), T740_SOAK_SEED
// repeats a printed seed.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTabWidget>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "child_process.h"
#include "host/commands/command_line.h"
#include "hosting/plugin/host_request.h"
#include "hosting/transport/snmp_transport.h"
#include "ids/config_window_ids.h"
#include "ids/loopback_page_ids.h"
#include "ids/threshold_page_ids.h"
#include "ids/threshold_window_ids.h"
#include "recording_transport.h"
#include "sim/default_card.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "windows/install_configuration_window.h"
#include "windows/threshold_window.h"

namespace t740::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTimeoutMilliseconds = 150;
constexpr int kRetries = 1;
const auto kBound = std::chrono::milliseconds(kTimeoutMilliseconds * (kRetries + 1));
constexpr auto kSlack = std::chrono::milliseconds(700);
constexpr size_t kHead = 6;
constexpr int kLoopbackTab = 1;
constexpr int kFirstThreshold = ids::threshold_page::kEdits[0];

namespace cw = ids::config_window;
namespace tw = ids::threshold_window;

// What a page shows for a request's outcome, by group.
struct GroupMessages {
  const char* group;
  const char* readShort;
  const char* success;
  const char* failure;
};

constexpr GroupMessages kGroupMessages[] = {
    {".11", "环回控制数据信息不全", "环回控制设置成功", "环回控制设置失败"},
    {".51", "门限设置数据信息不全", "门限设置成功", "门限设置失败"},
};

const GroupMessages* MessagesOf(const std::string& group) {
  for (const GroupMessages& entry : kGroupMessages) {
    if (group == entry.group) return &entry;
  }
  return nullptr;
}

std::vector<std::string> ExpectedMessages(const std::vector<Exchange>& exchanges) {
  std::vector<std::string> messages;
  for (const Exchange& e : exchanges) {
    const GroupMessages* group = MessagesOf(e.Group());
    if (!group) continue;
    if (e.operation == 1) messages.push_back(e.response == "1" ? group->success : group->failure);
    if (e.operation == 0 && e.response.empty()) messages.push_back(group->readShort);
  }
  return messages;
}

// What the card may hold of one group: the data of the last write reported
// as successful (or of the last read), and of the writes after it whose
// answers never came.
struct Holding {
  std::string confirmed;
  std::vector<std::string> unanswered;

  void Note(const Exchange& e) {
    if (e.operation != 1) return;
    if (e.response == "1") {
      confirmed = e.value.substr(kHead);
      unanswered.clear();
    } else {
      unanswered.push_back(e.value.substr(kHead));
    }
  }
  bool Allows(const std::string& data) const {
    return data == confirmed ||
           std::find(unanswered.begin(), unanswered.end(), data) != unanswered.end();
  }
};

unsigned Seed() {
  if (const char* seed = std::getenv("T740_SOAK_SEED"))
    return static_cast<unsigned>(std::stoul(seed));
  return std::random_device{}() % 1000000;
}

std::chrono::seconds Budget() {
  const char* seconds = std::getenv("T740_SOAK_SECONDS");
  return std::chrono::seconds(seconds ? std::stoi(seconds) : 8);
}

class LossySoakTest : public DialogTest {
 protected:
  LossySoakTest()
      : seed(Seed()),
        random(seed),
        agent({"--lose-requests", "15", "--lose-answers", "25", "--duplicate", "10", "--jitter",
               "40", "--fault-seed", std::to_string(seed)}),
        snmp(host::ParseCommandLine({"--snmp", agent.Address(), "--snmp-timeout",
                                     std::to_string(kTimeoutMilliseconds), "--snmp-retries",
                                     std::to_string(kRetries)})
                 .options,
             trace),
        recording(snmp) {
    InstallConfigurationWindow();
    card.SetRequestFunction(host::HostRequestFunction());
    card.SetIdentity(sim::kDefaultIp, sim::kDefaultCardAddress);
    host::SetRequestTransport(&recording);
    op.AcceptAllMessages();
  }
  ~LossySoakTest() override { host::SetRequestTransport(nullptr); }

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

  // The press's requests, their messages checked and noted.
  void CheckPress(const char* what) {
    const std::vector<Exchange> exchanges = recording.Take();
    EXPECT_EQ(op.Messages(), ExpectedMessages(exchanges)) << what;
    Note(exchanges);
    op.ClearRecords();
  }
  void Note(const std::vector<Exchange>& exchanges) {
    for (const Exchange& e : exchanges) {
      holdings[e.Group()].Note(e);
      if (e.operation == 1 && e.response != "1") ++failedWrites;
    }
  }

  // The card's record of a group, read until an answer comes.
  std::string CardData(const std::string& group) {
    for (int attempt = 0; attempt < 40; ++attempt) {
      CText response;
      snmp.Request(0, CText(sim::kDefaultIp), CText("1.3.6.1.4.1.47291.2.1.1.85.1.01.07" + group),
                   CText("1"), CText(), &response);
      if (!response.empty()) return std::string(response.view()).substr(kHead);
    }
    ADD_FAILURE() << "no answer to a read of " << group << " in 40 tries";
    return "";
  }

  void CheckCard() {
    for (const char* group : {".11", ".51"}) {
      const std::string data = CardData(group);
      Holding& holding = holdings[group];
      EXPECT_TRUE(holding.confirmed.empty() || holding.Allows(data))
          << group << " holds " << data << ", last confirmed " << holding.confirmed << " and "
          << holding.unanswered.size() << " unanswered writes";
      holding = {data, {}};
    }
  }

  void RunConfigurationWindow() {
    op.OnDialog(cw::kTemplate, [&](QWidget* window) {
      const std::vector<Exchange> opening = recording.Take();
      Note(opening);
      const std::vector<std::string> allowed = {"环回控制数据信息不全", "开销配置数据信息不全",
                                                "高阶通道开销配置数据信息不全",
                                                "基本属性数据信息不全", "门限设置数据信息不全"};
      for (const std::string& message : op.Messages()) {
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), message), allowed.end()) << message;
      }
      op.ClearRecords();
      Control<QTabWidget>(window, cw::kTabs)->setCurrentIndex(kLoopbackTab);
      QWidget* loopback = Page(window, ids::loopback_page::kTemplate);
      for (int press = Uniform(2, 6); press > 0 && !HasFailure(); --press) {
        if (Uniform(0, 1) == 0) {
          SelectItem(loopback, ids::loopback_page::kLlpA, Uniform(0, 1));
          Click(window, cw::kSet);
          CheckPress("loopback Set");
        } else {
          Click(window, cw::kRead);
          CheckPress("loopback Read");
        }
      }
      Click(window, cw::kExit);
    });
    card.OpenConfiguration(nullptr, CText(sim::kDefaultIp), CText(sim::kDefaultCardAddress),
                           &record);
    EXPECT_TRUE(op.Done());
    op.ClearRecords();
  }

  void RunThresholdWindow() {
    CThresholdWindow window{card};
    window.Container().SkipCache();
    window.Container().ReadThresholds();
    CheckPress("threshold window's first read");
    op.OnDialog(tw::kName, [&](QWidget*) {
      for (int press = Uniform(2, 6); press > 0 && !HasFailure(); --press) {
        if (Uniform(0, 1) == 0) {
          Control<QLineEdit>(&window.Container().FirstPage(), kFirstThreshold)
              ->setText(QString::number(Uniform(0, 65535)));
          Click(&window, tw::kSet);
          CheckPress("thresholds Set");
        } else {
          Click(&window, tw::kRead);
          CheckPress("thresholds Read");
        }
      }
      Click(&window, tw::kExit);
    });
    window.exec();
    EXPECT_TRUE(op.Done());
    op.ClearRecords();
  }

  const unsigned seed;
  std::mt19937 random;
  SimAgent agent;
  std::ostringstream trace;
  host::SnmpTransport snmp;
  RecordingTransport recording;
  std::map<std::string, Holding> holdings;
  int failedWrites = 0;
};

TEST_F(LossySoakTest, WindowsOverALossyLinkShowTheTruthAndKeepTheCardWhole) {
  std::cout << "soak seed " << seed << " (T740_SOAK_SEED repeats it)" << std::endl;
  SCOPED_TRACE("T740_SOAK_SEED=" + std::to_string(seed));
  CheckCard();  // what the card holds at the start
  const auto start = Clock::now();
  int showings = 0;
  while ((showings < 4 || Clock::now() - start < Budget()) && !HasFailure()) {
    if (Uniform(0, 1) == 0) {
      RunConfigurationWindow();
    } else {
      RunThresholdWindow();
    }
    CheckCard();
    ++showings;
  }
  EXPECT_LT(recording.Longest(), kBound + kSlack);
  std::cout << showings << " showings, " << failedWrites
            << " writes without an answer; longest request "
            << std::chrono::duration_cast<std::chrono::milliseconds>(recording.Longest()).count()
            << " ms of a bound of " << kBound.count() << " ms" << std::endl;
}

}  // namespace
}  // namespace t740::test
