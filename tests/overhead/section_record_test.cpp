#include "core/overhead/section_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/gbk.h"
#include "support/recording_card.h"

namespace t740 {
namespace {

using test::Gbk;
using test::RecordingMessages;

// A block as the card could report it: each field filled with its own
// character so that misplaced slices show.
std::string ReportedBlock(char j0r, char j0e, char j0s, const std::string& bytes) {
  return std::string(32, j0r) + std::string(32, j0e) + std::string(32, j0s) + bytes + "RRRRRRRRRR";
}

SectionDirection ValidDirection(char fill) {
  SectionDirection d;
  d.j0Expected = std::string(32, fill);
  d.j0Send = std::string(32, fill);
  d.k1Send = "11";
  d.k2Send = "22";
  d.s1Send = "33";
  d.z0Send = "44";
  return d;
}

SectionDirections ValidDirections() {
  return {ValidDirection('a'), ValidDirection('b'), ValidDirection('c'), ValidDirection('d')};
}

TEST(SectionRecordParseTest, SlicesEachDirectionsBlock) {
  const std::string data = ReportedBlock('1', '2', '3', "a1b1c1d1e1f1g1") +
                           ReportedBlock('4', '5', '6', "a2b2c2d2e2f2g2") +
                           ReportedBlock('7', '8', '9', "a3b3c3d3e3f3g3") +
                           ReportedBlock('x', 'y', 'z', "a4b4c4d4e4f4g4");
  ASSERT_EQ(data.size(), kSectionRecordLength);
  const SectionDirections d = ParseSectionRecord(data);
  EXPECT_EQ(d[0].j0Received, std::string(32, '1'));
  EXPECT_EQ(d[0].j0Expected, std::string(32, '2'));
  EXPECT_EQ(d[0].j0Send, std::string(32, '3'));
  EXPECT_EQ(d[0].k1Received, "a1");
  EXPECT_EQ(d[0].k1Send, "b1");
  EXPECT_EQ(d[0].k2Received, "c1");
  EXPECT_EQ(d[0].k2Send, "d1");
  EXPECT_EQ(d[0].s1Received, "e1");
  EXPECT_EQ(d[0].s1Send, "f1");
  EXPECT_EQ(d[0].z0Send, "g1");
  EXPECT_EQ(d[2].j0Send, std::string(32, '9'));
  EXPECT_EQ(d[2].s1Send, "f3");
  EXPECT_EQ(d[3].j0Received, std::string(32, 'x'));
  EXPECT_EQ(d[3].k2Send, "d4");
  EXPECT_EQ(d[3].z0Send, "g4");
}

TEST(SectionRecordBuildTest, AssemblesFourBlocksAtTheirPlaces) {
  SectionDirections directions = ValidDirections();
  directions[2].j0Send = std::string(32, 'C');
  directions[3].j0Send = std::string(32, 'D');
  directions[1].s1Send = "0b";
  // Received values are never sent back.
  directions[0].j0Received = std::string(32, 'F');
  directions[0].k1Received = "FF";
  RecordingMessages messages;
  const auto record = BuildSectionRecord(directions, messages);
  ASSERT_TRUE(record);
  EXPECT_TRUE(messages.shown.empty());
  ASSERT_EQ(record->size(), 480u);
  const std::string blockA = record->substr(0, 120);
  EXPECT_EQ(blockA, std::string(32, '0') + std::string(32, 'A') + std::string(32, 'A') +
                        "00110022003344" + std::string(10, '0'));
  EXPECT_EQ(record->substr(120 + 106, 2), "0B");
  EXPECT_EQ(record->substr(304, 32), std::string(32, 'C'));
  EXPECT_EQ(record->substr(424, 32), std::string(32, 'D'));
  for (size_t block = 0; block < 4; ++block) {
    EXPECT_EQ(record->substr(block * 120 + 110, 10), "0000000000") << block;
    EXPECT_EQ(record->substr(block * 120, 32), std::string(32, '0')) << block;
  }
}

TEST(SectionRecordBuildTest, UpperCasesAsciiOnlyAndNeverTestsForHexDigits) {
  SectionDirections directions = ValidDirections();
  directions[0].j0Expected = "0123456789abcdef0123456789abcdef";
  directions[0].j0Send = "not hex at all, but 32 bytes ok!";
  directions[0].z0Send = Gbk("癮");  // one double-byte character: two bytes
  RecordingMessages messages;
  const auto record = BuildSectionRecord(directions, messages);
  ASSERT_TRUE(record) << (messages.shown.empty() ? "" : test::Utf8(messages.shown[0]));
  EXPECT_EQ(record->substr(32, 32), "0123456789ABCDEF0123456789ABCDEF");
  EXPECT_EQ(record->substr(64, 32), "NOT HEX AT ALL, BUT 32 BYTES OK!");
  EXPECT_EQ(record->substr(108, 2), Gbk("癮"));
}

struct BadValue {
  std::string SectionDirection::*field;
  const char* message;
};

TEST(SectionRecordBuildTest, EachBadLengthGivesItsOwnMessage) {
  const BadValue cases[] = {
      {&SectionDirection::j0Expected, "方向 J0期望接收值长度不是32位!"},
      {&SectionDirection::j0Send, "方向 J0发送值长度不是32位!"},
      {&SectionDirection::k1Send, "方向 k1发送值长度不是2位!"},
      {&SectionDirection::k2Send, "方向 k2发送值长度不是2位!"},
      {&SectionDirection::s1Send, "方向 S1发送值长度不是2位!"},
      {&SectionDirection::z0Send, "方向 Z0发送值长度不是2位!"},
  };
  for (const BadValue& bad : cases) {
    for (size_t direction = 0; direction < 4; ++direction) {
      for (const char* value : {"", "0", "000"}) {
        SectionDirections directions = ValidDirections();
        directions[direction].*bad.field = value;
        RecordingMessages messages;
        EXPECT_FALSE(BuildSectionRecord(directions, messages));
        const std::string expected = std::string(1, "ABCD"[direction]) + Gbk(bad.message);
        EXPECT_EQ(messages.shown, std::vector<std::string>{expected}) << bad.message;
      }
    }
  }
}

TEST(SectionRecordBuildTest, StopsAtTheFirstBadValueInOrder) {
  SectionDirections directions = ValidDirections();
  directions[0].z0Send = "5";
  directions[0].k1Send = "1";
  directions[2].j0Expected = "";
  RecordingMessages messages;
  EXPECT_FALSE(BuildSectionRecord(directions, messages));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"A" + Gbk("方向 k1发送值长度不是2位!")});

  directions[0] = ValidDirection('a');
  directions[2].k2Send = "2";
  directions[3].j0Send = "";
  messages.shown.clear();
  EXPECT_FALSE(BuildSectionRecord(directions, messages));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"C" + Gbk("方向 J0期望接收值长度不是32位!")});
}

TEST(SectionRecordBuildTest, CountsGbkBytesNotCharacters) {
  SectionDirections directions = ValidDirections();
  std::string sixteen;
  for (int i = 0; i < 16; ++i) sixteen += Gbk("期");
  directions[1].j0Expected = sixteen;  // 16 characters, 32 bytes
  directions[1].k1Send = Gbk("发");    // 1 character, 2 bytes
  RecordingMessages messages;
  EXPECT_TRUE(BuildSectionRecord(directions, messages));
  directions[1].k2Send = "\xB0";  // a lone lead byte is one byte
  EXPECT_FALSE(BuildSectionRecord(directions, messages));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"B" + Gbk("方向 k2发送值长度不是2位!")});
}

}  // namespace
}  // namespace t740
