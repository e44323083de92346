#include "core/overhead/path_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/gbk.h"
#include "support/recording_card.h"

namespace t740 {
namespace {

using test::Gbk;
using test::RecordingMessages;

PathOverhead FullChannel() {
  PathOverhead v;
  v.port = 2;
  v.vc4 = 2;
  v.j1Received = std::string(32, 'r');
  v.j1Expected = std::string(32, 'e');
  v.j1Send = std::string(32, 's');
  v.c2Received = "c1";
  v.c2Expected = "c2";
  v.c2Send = "c3";
  v.k3Send = "k3";
  v.g1RemoteDefect = true;
  v.n1Send = "n1";
  return v;
}

TEST(PathRecordBuildTest, EncodesListPositionsAndG1) {
  EXPECT_EQ(EncodeListPosition(0), "00");
  EXPECT_EQ(EncodeListPosition(1), "01");
  EXPECT_EQ(EncodeListPosition(2), "02");
  EXPECT_EQ(EncodeListPosition(3), "03");
  EXPECT_EQ(EncodeListPosition(kNoListPosition), "03");
  EXPECT_EQ(EncodeListPosition(7), "03");

  PathOverhead v = FullChannel();
  v.port = 0;
  v.vc4 = kNoListPosition;
  v.g1RemoteDefect = false;
  RecordingMessages messages;
  const auto record = BuildPathRecord(kPathModeSelect, false, v, messages);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->substr(0, 6), "000003");
  EXPECT_EQ(record->substr(112, 2), "00");
}

TEST(PathRecordBuildTest, ReceivedValuesWithoutTheirFullWidthGoOutAsZeros) {
  PathOverhead v = FullChannel();
  v.j1Received = "";
  v.c2Received = "a";
  RecordingMessages messages;
  auto record = BuildPathRecord(kPathModeSet, true, v, messages);
  ASSERT_TRUE(record);
  ASSERT_EQ(record->size(), kPathRecordLength);
  EXPECT_EQ(record->substr(6, 32), std::string(32, '0'));
  EXPECT_EQ(record->substr(38, 32), std::string(32, 'E'));
  EXPECT_EQ(record->substr(102, 2), "00");
  EXPECT_EQ(record->substr(104, 2), "C2");
  EXPECT_EQ(record->substr(114, 2), "N1");

  v.j1Received = std::string(33, 'r');
  v.c2Received = "abc";
  record = BuildPathRecord(kPathModeSet, true, v, messages);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->size(), kPathRecordLength);
  EXPECT_EQ(record->substr(6, 32), std::string(32, '0'));
}

struct BadValue {
  std::string PathOverhead::*field;
  const char* message;
};

TEST(PathRecordBuildTest, ChecksLengthsInOrderWithTheirMessages) {
  const BadValue cases[] = {
      {&PathOverhead::j1Expected, "J1期望接收值长度不是32位!"},
      {&PathOverhead::c2Expected, "C2期望接收值长度不是2位!"},
      {&PathOverhead::j1Send, "J1发送值长度不是32位!"},
      {&PathOverhead::c2Send, "C2发送值长度不是2位!"},
      {&PathOverhead::k3Send, "K3发送值长度不是2位!"},
      {&PathOverhead::n1Send, "N1发送值长度不是2位!"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    PathOverhead v = FullChannel();
    // This field and every later one are bad; only this one is reported.
    for (size_t j = i; j < std::size(cases); ++j) v.*cases[j].field = "x";
    RecordingMessages messages;
    EXPECT_FALSE(BuildPathRecord(kPathModeSet, true, v, messages));
    EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk(cases[i].message)});
  }
}

TEST(PathRecordParseTest, AnythingButZeroZeroInG1IsTheRemoteDefect) {
  const std::string before = std::string(112, '0');
  EXPECT_FALSE(ParsePathRecord(before + "0000").g1RemoteDefect);
  for (const char* g1 : {"08", "80", "0", "", "ab"}) {
    EXPECT_TRUE(ParsePathRecord(before + g1).g1RemoteDefect) << g1;
  }
}

TEST(PathRecordParseTest, PositionsOutsideTheListsAreNoPosition) {
  EXPECT_EQ(ParsePathRecord("000004").vc4, kNoListPosition);
  EXPECT_EQ(ParsePathRecord("00-100").port, kNoListPosition);
  EXPECT_EQ(ParsePathRecord("0099").port, kNoListPosition);
  EXPECT_EQ(ParsePathRecord("00x1").port, 0);  // read as atoi does
  EXPECT_EQ(ParsePathRecord("00 2").port, 2);
}

TEST(PathRecordRoundTripTest, ParsedFullRecordBuildsTheSameRecord) {
  const std::string data = "010302" + std::string(32, 'A') + std::string(32, 'B') +
                           std::string(32, 'C') + "D1D2D300E408F5";
  RecordingMessages messages;
  const auto record = BuildPathRecord(kPathModeSet, true, ParsePathRecord(data), messages);
  ASSERT_TRUE(record);
  EXPECT_EQ(*record, data);
}

}  // namespace
}  // namespace t740
