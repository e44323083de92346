// The card's answers for each group, write/read round trips, and writes the
// card refuses without changing anything.
#include <gtest/gtest.h>

#include <string>

#include "sim/trace.h"
#include "sim_fixture.h"

namespace t740::test {
namespace {

constexpr char kOtherIp[] = "192.168.1.101";

std::string Repeat(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// A section block as the plug-in writes it: received positions and the
// reserved tail zero.
std::string SectionBlock(const std::string& expectedJ0, const std::string& sendJ0,
                         std::string_view k1, std::string_view k2, std::string_view s1,
                         std::string_view z0) {
  return std::string(32, '0') + expectedJ0 + sendJ0 + "00" + std::string(k1) + "00" +
         std::string(k2) + "00" + std::string(s1) + std::string(z0) + "0000000000";
}

// A path record: mode, port, VC4, then the bytes.
std::string PathRecord(std::string_view mode, std::string_view port, std::string_view vc4,
                       const std::string& received, const std::string& expected,
                       const std::string& send) {
  return std::string(mode) + std::string(port) + std::string(vc4) + received + expected + send +
         "13" + "12" + "11" + "00" + "3A" + "08" + "4B";
}

using GroupRecordsTest = SimFixture;

TEST_F(GroupRecordsTest, ReadsCarryTheHeadAndTheWholeRecordOfEachGroup) {
  EXPECT_EQ(Read(".1"), "0200002110");
  EXPECT_EQ(Read(".11"), "01000084");
  const std::string section = Read(".12");
  EXPECT_EQ(section.size(), 486u);
  EXPECT_EQ(section.substr(0, 6), "F00000");
  const std::string path = Read(".13");
  EXPECT_EQ(path.size(), 122u);
  EXPECT_EQ(path.substr(0, 12), "3C0000000000");
  const std::string thresholds = Read(".51");
  EXPECT_EQ(thresholds.size(), 438u);
  EXPECT_EQ(thresholds.substr(0, 6), "D80000");
  // Regenerator section, 15 minutes, EB of the first port: 1200 = 04B0.
  EXPECT_EQ(thresholds.substr(6, 4), "B004");
}

TEST_F(GroupRecordsTest, AnswersNothingForOtherCardsAndUnknownReads) {
  EXPECT_EQ(Request(0, Oid(Operation::Read, ".11"), "", "", kOtherIp), "");
  EXPECT_EQ(Request(0, BuildCardOid("0108", Operation::Read, ".11")), "");
  EXPECT_EQ(Request(1, BuildCardOid("0207", Operation::Write, ".11"), "010000FF", "preset"), "");
  EXPECT_EQ(Request(0, "1.3.6.1.2.1.1.1.0"), "");
  EXPECT_EQ(Read(".50"), "");
  EXPECT_EQ(Read(".99"), "");
  // A read made on the write arc gets nothing either.
  EXPECT_EQ(Request(0, Oid(Operation::Write, ".11")), "");
  EXPECT_EQ(card->Snapshot().loopback, 0x84);
}

TEST_F(GroupRecordsTest, ThreeCharacterCardAddressAnswersTheSameIdentifiers) {
  MakeCard(sim::DefaultCardState(), "107");
  EXPECT_EQ(Request(0, BuildCardOid("0107", Operation::Read, ".1")), "0200002110");
}

TEST_F(GroupRecordsTest, LoopbackRoundTrip) {
  EXPECT_EQ(Write(".11", "0100003c"), "1");
  EXPECT_EQ(Read(".11"), "0100003C");
}

TEST_F(GroupRecordsTest, SectionOverheadRoundTripKeepsEachDirectionsOwnValues) {
  std::string record;
  for (char letter : std::string("ABCD")) {
    const std::string j0 = sim::TraceHex(std::string("NODE-X-") + letter);
    record += SectionBlock(j0, sim::TraceHex(std::string("SEND-") + letter), "1a", "2B",
                           std::string("0") + static_cast<char>(letter + 1 - 'A' + '0'), "CC");
  }
  ASSERT_EQ(record.size(), 480u);
  EXPECT_EQ(Write(".12", "F00000" + record), "1");
  const sim::CardState state = card->Snapshot();
  EXPECT_EQ(state.ports[2].section.expectedJ0, sim::TraceHex("NODE-X-C"));
  EXPECT_EQ(state.ports[3].section.send.j0, sim::TraceHex("SEND-D"));
  EXPECT_EQ(state.ports[0].section.send.k1, "1A");
  EXPECT_EQ(state.ports[1].section.send.s1, "02");
  EXPECT_EQ(state.ports[3].section.sendZ0, "CC");

  const std::string data = Read(".12").substr(6);
  for (int d = 0; d < 4; ++d) {
    const std::string block = data.substr(120 * d, 120);
    EXPECT_EQ(block.substr(32, 32), state.ports[d].section.expectedJ0) << d;
    EXPECT_EQ(block.substr(64, 32), state.ports[d].section.send.j0) << d;
    EXPECT_EQ(block.substr(98, 2), "1A");
    EXPECT_EQ(block.substr(102, 2), "2B");
    EXPECT_EQ(block.substr(106, 2), std::string("0") + static_cast<char>('1' + d));
    EXPECT_EQ(block.substr(108, 2), "CC");
    EXPECT_EQ(block.substr(110), "0000000000");
  }
}

TEST_F(GroupRecordsTest, PathSelectChoosesTheChannelThatTheNextReadReports) {
  // A select needs only mode, port and VC4.
  EXPECT_EQ(Write(".13", "3C0000000203"), "1");
  const std::string data = Read(".13").substr(6);
  EXPECT_EQ(data.substr(0, 6), "000203");
  const sim::PathSettings channel = card->Snapshot().ports[2].paths[3];
  EXPECT_EQ(data.substr(38, 32), channel.expectedJ1);
  EXPECT_EQ(data.substr(70, 32), channel.send.j1);

  // Whatever follows the channel in a select is not stored.
  const sim::CardState before = card->Snapshot();
  const std::string junk = PathRecord("00", "01", "01", std::string(32, '1'), std::string(32, '2'),
                                      std::string(32, '3'));
  EXPECT_EQ(Write(".13", "3C0000" + junk), "1");
  EXPECT_EQ(card->Snapshot().ports[1].paths[1].expectedJ1, before.ports[1].paths[1].expectedJ1);
  EXPECT_EQ(Read(".13").substr(6, 6), "000101");
}

TEST_F(GroupRecordsTest, PathSetStoresTheChannelsExpectedAndSendBytes) {
  const std::string expected = sim::TraceHex("EXPECTED-J1");
  const std::string send = sim::TraceHex("send-j1");
  const std::string record = PathRecord("01", "03", "02", std::string(32, '0'), expected, send);
  ASSERT_EQ(record.size(), 116u);
  EXPECT_EQ(Write(".13", "3C0000" + record), "1");

  const std::string data = Read(".13").substr(6);
  EXPECT_EQ(data.substr(0, 6), "000302");
  EXPECT_EQ(data.substr(38, 32), expected);
  EXPECT_EQ(data.substr(70, 32), send);
  EXPECT_EQ(data.substr(104, 2), "12");  // C2 expected
  EXPECT_EQ(data.substr(106, 2), "11");  // C2 send
  EXPECT_EQ(data.substr(108), "003A084B");
  // Other channels keep their bytes.
  EXPECT_EQ(card->Snapshot().ports[3].paths[1].send.c2, "02");
}

TEST_F(GroupRecordsTest, ThresholdRoundTripIsLowByteFirst) {
  std::string data;
  for (int k = 0; k < 108; ++k) data += k == 0 ? "2C01" : k == 107 ? "ffff" : "3412";
  EXPECT_EQ(Write(".51", "D80000" + data), "1");
  const sim::CardState state = card->Snapshot();
  EXPECT_EQ(state.thresholds[0], 300);
  EXPECT_EQ(state.thresholds[1], 0x1234);
  EXPECT_EQ(state.thresholds[107], 65535);
  const std::string read = Read(".51");
  EXPECT_EQ(read.substr(6, 8), "2C013412");
  EXPECT_EQ(read.substr(434), "FFFF");
}

TEST_F(GroupRecordsTest, PerformanceClearTakesTheHeadAlone) {
  now += 600;
  ASSERT_NE(Performance(1).quarterHours.current, sim::Counters{});
  EXPECT_EQ(Write(".50", "000000"), "1");
  EXPECT_EQ(Performance(1).quarterHours.current, sim::Counters{});
  EXPECT_NE(Write(".50", "0000000"), "1");
  EXPECT_NE(Write(".50", "010000"), "1");
}

struct RefusedWrite {
  const char* name;
  const char* suffix;
  std::string value;
};

class RefusedWriteTest : public SimFixture, public ::testing::WithParamInterface<RefusedWrite> {};

TEST_P(RefusedWriteTest, AnswersAnErrorTextAndChangesNothing) {
  const RefusedWrite& write = GetParam();
  const std::string before[] = {Read(".1"), Read(".11"), Read(".12"), Read(".13"), Read(".51")};
  const std::string answer = Write(write.suffix, write.value);
  EXPECT_NE(answer, "1");
  EXPECT_FALSE(answer.empty());
  EXPECT_NE(answer, "preset");
  const std::string after[] = {Read(".1"), Read(".11"), Read(".12"), Read(".13"), Read(".51")};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(before[i], after[i]) << i;
}

std::string ValidSection() {
  return "F00000" +
         Repeat(SectionBlock(std::string(32, 'A'), std::string(32, 'B'), "00", "00", "00", "00"),
                4);
}

std::string ValidPathSet() {
  return "3C0000" + PathRecord("01", "00", "00", std::string(32, '0'), std::string(32, '1'),
                               std::string(32, '2'));
}

INSTANTIATE_TEST_SUITE_P(
    Writes, RefusedWriteTest,
    ::testing::Values(RefusedWrite{"BasicInfoIsReadOnly", ".1", "0200002110"},
                      RefusedWrite{"UnknownGroup", ".14", "010000FF"},
                      RefusedWrite{"LoopbackWrongHead", ".11", "020000FF"},
                      RefusedWrite{"LoopbackShort", ".11", "010000F"},
                      RefusedWrite{"LoopbackLong", ".11", "010000FFF"},
                      RefusedWrite{"LoopbackNotHex", ".11", "010000GG"},
                      RefusedWrite{"SectionWrongHead", ".12", "D8" + ValidSection().substr(2)},
                      RefusedWrite{"SectionShort", ".12", ValidSection().substr(0, 485)},
                      RefusedWrite{"SectionNotHex", ".12", ValidSection().replace(100, 1, "Z")},
                      RefusedWrite{"PathWrongHead", ".13", "3D0000000000"},
                      RefusedWrite{"PathNoChannel", ".13", "3C000000"},
                      RefusedWrite{"PathUnknownMode", ".13", "3C0000020000"},
                      RefusedWrite{"PathPortOutOfRange", ".13", "3C0000000400"},
                      RefusedWrite{"PathVc4NotDecimal", ".13", "3C00000000A1"},
                      RefusedWrite{"PathSetShort", ".13", ValidPathSet().substr(0, 121)},
                      RefusedWrite{"PathSetLong", ".13", ValidPathSet() + "00"},
                      RefusedWrite{"PathSetNotHex", ".13", ValidPathSet().replace(50, 2, "xy")},
                      RefusedWrite{"ThresholdsShort", ".51", "D80000" + std::string(431, '0')},
                      RefusedWrite{"ThresholdsWrongHead", ".51", "D70000" + std::string(432, '0')},
                      RefusedWrite{"ThresholdsNotHex", ".51",
                                   "D80000" + std::string(431, '0') + "-"}),
    [](const ::testing::TestParamInfo<RefusedWrite>& info) { return info.param.name; });

TEST_F(GroupRecordsTest, WriteOnTheReadArcIsRefused) {
  const std::string answer = Request(1, Oid(Operation::Read, ".11"), "010000FF", "preset");
  EXPECT_NE(answer, "1");
  EXPECT_EQ(Read(".11"), "01000084");
}

}  // namespace
}  // namespace t740::test
