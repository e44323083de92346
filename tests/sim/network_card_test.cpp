// The pieces of a simulated network: card lists, the cards' starting
// states, and line events with what they do to the alarms and counters.
#include <gtest/gtest.h>

#include <map>

#include "sim/card_list.h"
#include "sim/card_profile.h"
#include "sim/line_event.h"
#include "sim/line_side.h"
#include "sim/performance.h"
#include "sim_fixture.h"

namespace t740::test {
namespace {

using Cards = std::vector<std::string>;

TEST(CardListTest, RangesKeepTheirWidthAndNoCardIsListedTwice) {
  EXPECT_EQ(sim::ParseCardList("0101-0103,0301"), (Cards{"0101", "0102", "0103", "0301"}));
  EXPECT_EQ(sim::ParseCardList("0199-0201"), (Cards{"0199", "0200", "0201"}));
  EXPECT_EQ(sim::ParseCardList("13,207"), (Cards{"13", "207"}));
  for (const char* bad : {"", "0101,", "0101-", "7", "01012", "01a1", "0103-0101", "0101-102",
                          "0101-0103,0102", "0107,107", "13,0103"}) {
    EXPECT_THROW(sim::ParseCardList(bad), sim::CardListError) << bad;
  }
}

TEST(CardProfileTest, TheNetworkIsMostlyHealthyAndTheSameEveryRun) {
  std::map<sim::CardProfile, int> count;
  for (int agent = 1; agent <= 50; ++agent) {
    for (int card = 101; card <= 120; ++card) {
      const auto condition =
          sim::ConditionOfCard("127.0.0." + std::to_string(agent), "0" + std::to_string(card));
      ++count[condition.profile];
    }
  }
  EXPECT_GT(count[sim::CardProfile::Healthy], 600);
  EXPECT_EQ(count.size(), 6u);  // every fault somewhere

  // 127.0.0.2/0102: loopback inside the card on port D, as documented by
  // its hash; 127.0.0.2/0101 healthy.
  EXPECT_EQ(sim::NetworkCardState("127.0.0.2", "0102").loopback, 0x80);
  const sim::CardState healthy = sim::NetworkCardState("127.0.0.2", "0101");
  EXPECT_EQ(healthy.loopback, 0);
  for (int port = 0; port < sim::kPortCount; ++port) {
    const sim::PortAlarms alarms = sim::AlarmsOf(healthy, port);
    EXPECT_FALSE(alarms.traceMismatch || alarms.lossOfSignal || alarms.outOfFrame) << port;
  }
}

TEST(LineEventTest, LinesBecomeEventsInTimeOrder) {
  const auto events = sim::ParseLineEvents(
      "# a comment\n"
      "+20s 127.0.0.3 0104 B fibre-restored\n"
      "\n"
      "+5s 127.0.0.3 0104 B fibre-pulled\n"
      "+1500ms 127.0.0.2 13 A errored-seconds 10\n");
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].atMilliseconds, 1500);
  EXPECT_EQ(events[0].kind, sim::LineEventKind::BurstStarts);
  EXPECT_EQ(events[1].atMilliseconds, 5000);
  EXPECT_EQ(events[1].text, "127.0.0.3 0104 B fibre-pulled");
  EXPECT_EQ(events[1].port, 1);
  EXPECT_EQ(events[2].atMilliseconds, 11500);
  EXPECT_EQ(events[2].kind, sim::LineEventKind::BurstEnds);
  EXPECT_EQ(events[3].lineNumber, 2);

  const struct {
    const char* line;
    const char* says;
  } kBad[] = {
      {"5s 127.0.0.3 0104 B fibre-pulled", "line 2: '5s' is no time"},
      {"+5h 127.0.0.3 0104 B fibre-pulled", "'+5h' is no time"},
      {"+5s 10.0.0.3 0104 B fibre-pulled", "'10.0.0.3' is no agent address"},
      {"+5s 127.0.0.3 01045 B fibre-pulled", "'01045' is not a card address"},
      {"+5s 127.0.0.3 0104 E fibre-pulled", "'E' is no port"},
      {"+5s 127.0.0.3 0104 B fibre-cut", "unknown event 'fibre-cut'"},
      {"+5s 127.0.0.3 0104 B errored-seconds", "errored-seconds needs a number"},
      {"+5s 127.0.0.3 0104 B fibre-pulled now", "unexpected 'now'"},
      {"+5s 127.0.0.3 0104", "expected TIME AGENT CARD PORT EVENT"},
  };
  for (const auto& bad : kBad) {
    try {
      sim::ParseLineEvents(std::string("# first\n") + bad.line);
      ADD_FAILURE() << bad.line;
    } catch (const sim::LineEventError& error) {
      EXPECT_EQ(error.LineNumber(), 2) << bad.line;
      EXPECT_NE(std::string(error.what()).find(bad.says), std::string::npos) << error.what();
    }
  }
}

class LineEventEffectTest : public SimFixture {
 protected:
  LineEventEffectTest() { MakeCard(sim::NetworkCardState("127.0.0.2", "0101")); }
  void Apply(const char* line) {
    for (const sim::LineEvent& event : sim::ParseLineEvents(line)) {
      card->Update([&](sim::CardModel& model) { ApplyLineEvent(event, model.State()); });
    }
  }
  sim::PortAlarms AlarmsOfA() { return sim::AlarmsOf(card->Snapshot(), 0); }
};

TEST_F(LineEventEffectTest, FibreAndTraceEventsComeAndGo) {
  Apply("+1s 127.0.0.2 0101 A fibre-pulled");
  EXPECT_TRUE(AlarmsOfA().lossOfSignal);
  now += 10;
  Apply("+1s 127.0.0.2 0101 A fibre-restored");
  EXPECT_FALSE(AlarmsOfA().lossOfSignal);
  EXPECT_EQ(Performance(0).quarterHours.current[sim::kRegeneratorSection + sim::kUAS], 10);

  Apply("+1s 127.0.0.2 0101 A trace-mismatch");
  EXPECT_TRUE(AlarmsOfA().traceMismatch);
  Apply("+1s 127.0.0.2 0101 A trace-restored");
  EXPECT_FALSE(AlarmsOfA().traceMismatch);
}

TEST_F(LineEventEffectTest, ABurstErrsEverySecondUntilItEnds) {
  const auto events = sim::ParseLineEvents("+0s 127.0.0.2 0101 A errored-seconds 5");
  card->Update([&](sim::CardModel& model) { ApplyLineEvent(events[0], model.State()); });
  now += 5;
  card->Update([&](sim::CardModel& model) { ApplyLineEvent(events[1], model.State()); });
  now += 5;
  const sim::Counters counters = Performance(0).quarterHours.current;
  for (int layer : {sim::kRegeneratorSection, sim::kMultiplexSection}) {
    EXPECT_EQ(counters[layer + sim::kES], 5) << layer;
    EXPECT_EQ(counters[layer + sim::kSES], 0) << layer;
  }
}

}  // namespace
}  // namespace t740::test
