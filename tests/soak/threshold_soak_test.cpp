// Soak of the threshold window against the simulated card: opened again and
// again, each first read under a random fault, then random edits (numbers,
// and texts the pages refuse) and Read, Set and counter clearing under a
// random fault each. Every press shows exactly its own message, a read that
// got through shows the card's thresholds, and the card always holds what
// the last successful write sent.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTabWidget>
#include <algorithm>
#include <array>
#include <chrono>
#include <string>

#include "ids/threshold_page_ids.h"
#include "ids/threshold_window_ids.h"
#include "sim/default_card.h"
#include "sim/request_binding.h"
#include "sim/simulated_card.h"
#include "soak_faults.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "windows/threshold_window.h"

namespace t740::test {
namespace {

namespace tw = ids::threshold_window;

constexpr int kPortValues = 54;
constexpr int kValues = 2 * kPortValues;
constexpr size_t kResponseLength = 438;

// A port's 54 values in data order: their edit, monitored layer, period
// and counter.
struct Slot {
  int editId;
  int layer;
  int period;
  int counter;
};

// Written out, not taken from ids::threshold_page::kEdits: this soak is the
// one check of every edit against its place in the card's record (the
// threshold table's own test looks at five of them), so it keeps a copy of
// its own.
constexpr int kEditIds[kPortValues] = {
    1023, 1024, 1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1037, 1039, 1041,
    1043, 1034, 1038, 1040, 1042, 1044, 1045, 1047, 1049, 1051, 1053, 1046, 1048, 1050,
    1052, 1054, 1055, 1057, 1059, 1061, 1063, 1082, 1084, 1056, 1058, 1060, 1062, 1064,
    1083, 1085, 1065, 1067, 1069, 1071, 1073, 1066, 1068, 1070, 1072, 1074};

const char* const kLayers[] = {"再生段", "复用段", "对端复用段", "高阶通道", "对端高阶通道"};
const char* const kPeriods[] = {"15分钟", "24小时"};
const char* const kCounters[] = {"误码块",   "背景误码块", "误码秒",    "严重误码秒",
                                 "不可用秒", "正指针调整", "负指针调整"};
constexpr int kHigherOrderPath = 3;

std::array<Slot, kPortValues> Slots() {
  std::array<Slot, kPortValues> table;
  int index = 0;
  for (int layer = 0; layer < 5; ++layer) {
    const int counters = layer == kHigherOrderPath ? 7 : 5;
    for (int period = 0; period < 2; ++period) {
      for (int counter = 0; counter < counters; ++counter) {
        table[index] = {kEditIds[index], layer, period, counter};
        ++index;
      }
    }
  }
  return table;
}

// The card address 0107 shows ports A and B.
std::string Message(int value) {
  const Slot slot = Slots()[value % kPortValues];
  return std::string(value < kPortValues ? "A光口: " : "B光口: ") + kLayers[slot.layer] + "," +
         kPeriods[slot.period] + "," + kCounters[slot.counter] + "输入必须为 0 -- 65535 之间整数";
}

// ASCII digits only (none is 0), at most 65535.
std::optional<uint16_t> Accepted(const std::string& text) {
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min(value * 10 + (c - '0'), 70000L);
  }
  if (value > 65535) return std::nullopt;
  return static_cast<uint16_t>(value);
}

class ThresholdSoakTest : public DialogTest {
 protected:
  using Values = std::array<uint16_t, sim::kThresholdCount>;
  using Messages = std::vector<std::string>;

  ThresholdSoakTest()
      : simulated(sim::DefaultIdentity(), sim::DefaultCardState(), sim::WallClock(),
                  sim::kDefaultUptimeSeconds),
        seed(SeedFromEnvironment()),
        random(seed) {
    card.SetRequestFunction(sim::BindRequestFunction(simulated));
    card.SetIdentity(sim::kDefaultIp, sim::kDefaultCardAddress);
    expected = simulated.Snapshot().thresholds;
    op.AcceptAllMessages();
  }
  ~ThresholdSoakTest() override { sim::UnbindRequestFunction(simulated); }

  void Inject(const std::optional<sim::Fault>& fault, sim::FaultPlan& plan) {
    simulated.ClearFaults();
    if (!fault) return;
    simulated.InjectFault(*fault);
    plan.Add(*fault);
  }

  QLineEdit* Edit(CThresholdWindow& window, int value) {
    QWidget* page = value < kPortValues ? static_cast<QWidget*>(&window.Container().FirstPage())
                                        : &window.Container().SecondPage();
    return Control<QLineEdit>(page, kEditIds[value % kPortValues]);
  }

  // The window as OpenThresholds shows it: no poll behind it, so its first
  // read asks the card.
  void RunWindow(int showing) {
    SCOPED_TRACE("window " + std::to_string(showing));
    CThresholdWindow window{card};
    sim::FaultPlan plan;
    Inject(random.Fault(".51"), plan);
    const Messages expectedAtOpening = PredictRead(plan);
    op.ClearRecords();
    window.Container().SkipCache();
    window.Container().ReadThresholds();
    simulated.ClearFaults();
    EXPECT_EQ(op.Messages(), expectedAtOpening) << "at the first read";
    if (expectedAtOpening.empty() && readArrived_) ExpectCardShown(window);
    op.OnDialog(tw::kName, [&](QWidget*) {
      const int presses = random.Uniform(3, 10);
      for (int press = 0; press < presses && !HasFatalFailure(); ++press) {
        SCOPED_TRACE("press " + std::to_string(press));
        Press(window);
      }
      Click(&window, tw::kExit);
    });
    window.exec();
    EXPECT_TRUE(op.Done());
    EXPECT_EQ(simulated.Snapshot().thresholds, expected) << "after closing";
  }

  Messages PredictRead(sim::FaultPlan& plan) {
    const Reply reply = ReplyUnder(plan.Take(".51", false), kResponseLength, false);
    readArrived_ = !reply.thrown && reply.length >= kResponseLength;
    if (reply.thrown || reply.length >= kResponseLength) return {};
    return {"门限设置数据信息不全"};
  }

  void ExpectCardShown(CThresholdWindow& window) {
    const Values card = simulated.Snapshot().thresholds;
    for (int value = 0; value < kValues; ++value) {
      EXPECT_EQ(Edit(window, value)->text().toStdString(), std::to_string(card[value]))
          << "value " << value;
    }
  }

  std::string RandomText() {
    static const char* const kRefused[] = {"65536", "-1",  " 7",   "7 ",         "0x10",
                                           "1.5",   "abc", "１２", "99999999999"};
    if (random.Chance(0.1)) return kRefused[random.Uniform(0, 8)];
    if (random.Chance(0.1)) return "";
    std::string text = std::to_string(random.Uniform(0, 65535));
    if (random.Chance(0.1)) text.insert(0, "00");
    return text;
  }

  void Press(CThresholdWindow& window) {
    if (random.Chance(0.6)) {
      for (int i = random.Uniform(1, 4); i > 0; --i) {
        Edit(window, random.Uniform(0, kValues - 1))->setText(QString::fromStdString(RandomText()));
      }
    }
    const int action = random.Uniform(0, 2);
    sim::FaultPlan plan;
    Inject(random.Fault(action == 2 ? ".50" : ".51"), plan);
    op.ClearRecords();
    switch (action) {
      case 0: {
        const Messages expectedMessages = PredictRead(plan);
        Click(&window, tw::kRead);
        EXPECT_EQ(op.Messages(), expectedMessages) << "Read";
        if (expectedMessages.empty() && readArrived_) ExpectCardShown(window);
        break;
      }
      case 1:
        Set(window, plan);
        break;
      case 2: {
        const int page = random.Uniform(0, 1);
        window.Container().Tabs()->setCurrentIndex(page);
        QWidget* shown = page == 0 ? static_cast<QWidget*>(&window.Container().FirstPage())
                                   : &window.Container().SecondPage();
        const Reply reply = ReplyUnder(plan.Take(".50", true), 1, true);
        Click(shown, ids::threshold_page::kClear);
        EXPECT_EQ(op.Messages(), Messages{reply.accepted ? "清零成功" : "清零失败"}) << "clear";
        break;
      }
    }
    simulated.ClearFaults();
    EXPECT_EQ(simulated.Snapshot().thresholds, expected) << "after action " << action;
  }

  void Set(CThresholdWindow& window, sim::FaultPlan& plan) {
    Values sent{};
    for (int value = 0; value < kValues; ++value) {
      const std::string text = Gbk(Edit(window, value)->text().toStdString());
      const std::optional<uint16_t> accepted = Accepted(text);
      if (!accepted) {
        Click(&window, tw::kSet);
        EXPECT_EQ(op.Messages(), Messages{Message(value)})
            << "Set with value " << value << " \"" << text << "\"";
        return;
      }
      sent[value] = *accepted;
    }
    const Reply reply = ReplyUnder(plan.Take(".51", true), 1, true);
    Click(&window, tw::kSet);
    EXPECT_EQ(op.Messages(), Messages{reply.accepted ? "门限设置成功" : "门限设置失败"}) << "Set";
    if (reply.accepted) expected = sent;
  }

  sim::SimulatedCard simulated;
  unsigned seed;
  SoakRandom random;
  Values expected;
  bool readArrived_ = false;
};

TEST_F(ThresholdSoakTest, ReadsSetsAndClearsUnderRandomFaults) {
  std::cout << "soak seed " << seed << " (T740_SOAK_SEED repeats it)" << std::endl;
  SCOPED_TRACE("T740_SOAK_SEED=" + std::to_string(seed));
  // A share of the configuration soak's budget.
  const auto budget = BudgetFromEnvironment() / 3;
  const auto start = std::chrono::steady_clock::now();
  int showings = 0;
  while ((showings < 3 || std::chrono::steady_clock::now() - start < budget) && !HasFailure()) {
    RunWindow(showings++);
  }
  std::cout << showings << " showings of the threshold window" << std::endl;
}

}  // namespace
}  // namespace t740::test
