// The card's status texts, read back through the plug-in's own decoders.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "core/card/codecs.h"
#include "core/status/alarm_decoder.h"
#include "core/status/led_decoder.h"
#include "core/status/perf_decoder.h"
#include "sim_fixture.h"

namespace t740::test {
namespace {

constexpr int kA = 0, kB = 1, kC = 2;

std::string RecordHex(const sim::Counters& counters) {
  std::string hex;
  char word[8];
  for (uint16_t counter : counters) {
    std::snprintf(word, sizeof word, "%04X", counter);
    hex += word;
  }
  return hex;
}

std::set<int> PresentAlarms(const std::string& status) {
  std::set<int> present;
  for (int type = 1; type <= 16; ++type) {
    const auto reading = DecodeAlarm(type, status);
    EXPECT_TRUE(reading) << type;
    if (reading && reading->level == kAlarmPresent) present.insert(type);
  }
  return present;
}

struct DecodedPerformance {
  bool accepted;
  CText texts[44];
  CText labels[44];
};

DecodedPerformance Decode(const std::string& data, int16_t period, int16_t history) {
  DecodedPerformance decoded;
  decoded.accepted = DecodePerformanceData(period, history, data, decoded.texts, decoded.labels);
  return decoded;
}

int WrittenEntries(const DecodedPerformance& decoded) {
  int count = 0;
  for (const CText& label : decoded.labels) count += label.empty() ? 0 : 1;
  return count;
}

using StatusTextsTest = SimFixture;

TEST_F(StatusTextsTest, AlarmStatusShowsLossOfSignalOnBAndTraceMismatchOnC) {
  const std::string status = Status(sim::StatusKind::Alarm);
  EXPECT_EQ(status.size(), 62u);
  // 6 = 光口B:STM-LOS, 9 = 光口C:RS-TIM.
  EXPECT_EQ(PresentAlarms(status), (std::set<int>{6, 9}));
}

TEST_F(StatusTextsTest, AlarmStatusFollowsTheLine) {
  card->Update([](sim::CardModel& model) {
    model.State().ports[kA].line.lossOfFrame = true;
    model.State().ports[kB].line.fibreConnected = true;
    model.State().ports[kC].line.outOfFrame = true;
  });
  // A: STM-LOF (3) and RS-OOF (4); C: RS-TIM (9) and RS-OOF (12).
  EXPECT_EQ(PresentAlarms(Status(sim::StatusKind::Alarm)), (std::set<int>{3, 4, 9, 12}));
}

TEST_F(StatusTextsTest, LedStatusCarriesSignalAndAlarmLedsPerPort) {
  const std::string status = Status(sim::StatusKind::Led);
  EXPECT_EQ(status.size(), 148u);
  EXPECT_STREQ(DecodeLedStates(status), "002200000000");
  // Port B lost its signal, port C has an alarm.
  EXPECT_EQ(status.substr(6, 8), "00801000");
}

TEST_F(StatusTextsTest, PerformanceDataHasFiveLongFieldsThatDecode) {
  const std::string data = Status(sim::StatusKind::Performance);
  size_t start = 0;
  for (int field = 0; field < 5; ++field) {
    const size_t comma = data.find(',', start);
    ASSERT_NE(comma, std::string::npos) << field;
    EXPECT_GE(comma - start, 900u) << field;
    start = comma + 1;
  }
  EXPECT_EQ(start, data.size());
  EXPECT_TRUE(Decode(data, 15, 0).accepted);
}

TEST_F(StatusTextsTest, CurrentRecordsAreThoseOfThePortPairAndAdvanceWithTime) {
  now += 300;
  DecodedPerformance current = Decode(Status(sim::StatusKind::Performance), 15, 0);
  EXPECT_EQ(WrittenEntries(current), 2);
  EXPECT_EQ(current.texts[0].view(),
            FormatPerfRecord(RecordHex(Performance(kA).quarterHours.current)));
  const sim::Counters portB = Performance(kB).quarterHours.current;
  EXPECT_EQ(current.texts[22].view(), FormatPerfRecord(RecordHex(portB)));
  // Port B has been unavailable for every second so far.
  EXPECT_EQ(portB[sim::kRegeneratorSection + sim::kUAS], 300);
  EXPECT_EQ(portB[sim::kHigherOrderPath + sim::kUAS], 300);
  EXPECT_EQ(portB[sim::kRegeneratorSection + sim::kEB], 0);

  now += 60;
  const sim::Counters later = Performance(kB).quarterHours.current;
  EXPECT_EQ(later[sim::kRegeneratorSection + sim::kUAS], 360);
  EXPECT_NE(Decode(Status(sim::StatusKind::Performance), 15, 0).texts[22].view(),
            current.texts[22].view());
}

TEST_F(StatusTextsTest, ErroredLineCountsConsistentSeconds) {
  now += 900 - 1;
  const sim::Counters a = Performance(kA).quarterHours.current;
  for (int layer : {sim::kRegeneratorSection, sim::kMultiplexSection, sim::kHigherOrderPath,
                    sim::kFarEndMultiplexSection, sim::kFarEndHigherOrderPath}) {
    EXPECT_GT(a[layer + sim::kES], 0) << layer;
    EXPECT_LT(a[layer + sim::kES], 900) << layer;
    EXPECT_LE(a[layer + sim::kSES], a[layer + sim::kES]) << layer;
    EXPECT_LE(a[layer + sim::kBBE], a[layer + sim::kEB]) << layer;
    EXPECT_GE(a[layer + sim::kEB], a[layer + sim::kES]) << layer;
    EXPECT_EQ(a[layer + sim::kUAS], 0) << layer;
  }
}

TEST_F(StatusTextsTest, CompletedQuarterHoursBecomeHistory) {
  now += 3 * 900 + 10;
  const std::string data = Status(sim::StatusKind::Performance);
  EXPECT_EQ(data.substr(6, 2), "03");
  DecodedPerformance history = Decode(data, 15, 1);
  EXPECT_EQ(WrittenEntries(history), 6);
  const sim::PortPerformance b = Performance(kB);
  ASSERT_EQ(b.quarterHours.history.size(), 3u);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(history.texts[22 + r].view(), FormatPerfRecord(RecordHex(b.quarterHours.history[r])));
    EXPECT_EQ(b.quarterHours.history[r][sim::kRegeneratorSection + sim::kUAS], 900);
  }
  EXPECT_EQ(b.quarterHours.current[sim::kRegeneratorSection + sim::kUAS], 10);
}

TEST_F(StatusTextsTest, HistoryKeepsTheLatestFifteenQuarterHoursAndTwoDays) {
  now += 3 * 86400 + 900 + 5;
  const std::string data = Status(sim::StatusKind::Performance);
  EXPECT_EQ(data.substr(6, 2), "15");
  const size_t fifthField = data.rfind(',', data.size() - 2) + 1;
  EXPECT_EQ(data.substr(fifthField + 8, 2), "02");

  const sim::PortPerformance a = Performance(kA);
  // The current record sits in the second area, as record 15.
  DecodedPerformance current = Decode(data, 15, 0);
  EXPECT_EQ(current.texts[0].view(), FormatPerfRecord(RecordHex(a.quarterHours.current)));
  EXPECT_EQ(WrittenEntries(Decode(data, 15, 1)), 30);
  DecodedPerformance days = Decode(data, 24, 1);
  EXPECT_EQ(WrittenEntries(days), 4);
  EXPECT_EQ(days.texts[1].view(), FormatPerfRecord(RecordHex(a.days.history[1])));
  EXPECT_EQ(Performance(kB).days.history[0][sim::kRegeneratorSection + sim::kUAS], 0xFFFF);
  EXPECT_EQ(Decode(data, 24, 0).texts[22].view(),
            FormatPerfRecord(RecordHex(Performance(kB).days.current)));
}

// The default card's past fills the history at every hour of the day,
// a minute after midnight as well as a minute before it.
TEST(DefaultCardHistoryTest, IsFullWhateverTheHour) {
  constexpr int64_t kMidnight = 1'767'225'600;
  for (int64_t now : {kMidnight + 60, kMidnight + 16 * 3600 + 5, kMidnight + 86400 - 60}) {
    sim::CardModel model(sim::DefaultIdentity(), sim::DefaultCardState(), now,
                         sim::kDefaultUptimeSeconds);
    const sim::PortPerformance& port = model.Performance().Port(kA);
    EXPECT_EQ(port.days.history.size(), sim::kDayHistory) << now;
    EXPECT_EQ(port.quarterHours.history.size(), sim::kQuarterHourHistory) << now;
  }
}

TEST_F(StatusTextsTest, ClearZeroesEveryCounterAndTheHistory) {
  now += 2 * 900 + 30;
  ASSERT_EQ(Write(".50", "000000"), "1");
  const std::string data = Status(sim::StatusKind::Performance);
  EXPECT_EQ(data.substr(6, 2), "00");
  EXPECT_EQ(WrittenEntries(Decode(data, 15, 1)), 0);
  const std::string zero = FormatPerfRecord(std::string(108, '0'));
  EXPECT_EQ(Decode(data, 15, 0).texts[22].view(), zero);
  EXPECT_EQ(Decode(data, 24, 0).texts[22].view(), zero);
}

TEST_F(StatusTextsTest, CardAddressOtherThan07ReportsPortsCAndD) {
  sim::CardState state = sim::DefaultCardState();
  state.ports[kC].line.fibreConnected = false;
  MakeCard(state, "0108");
  now += 42;
  DecodedPerformance current = Decode(Status(sim::StatusKind::Performance), 15, 0);
  EXPECT_EQ(current.texts[0].view(),
            FormatPerfRecord(RecordHex(Performance(kC).quarterHours.current)));
  EXPECT_EQ(Performance(kC).quarterHours.current[sim::kRegeneratorSection + sim::kUAS], 42);
}

TEST_F(StatusTextsTest, OtherCardsGetNoStatus) {
  EXPECT_EQ(card->FetchStatus(sim::StatusKind::Alarm, "10.0.0.1", address), "");
  EXPECT_EQ(card->FetchStatus(sim::StatusKind::Led, sim::kDefaultIp, "0207"), "");
  // "107" names the same card as "0107".
  EXPECT_NE(card->FetchStatus(sim::StatusKind::Led, sim::kDefaultIp, "107"), "");
}

}  // namespace
}  // namespace t740::test
