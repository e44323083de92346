#include "core/thresholds/threshold_data.h"

#include <gtest/gtest.h>

#include <set>

#include "support/gbk.h"
#include "support/recording_card.h"

namespace t740 {
namespace {

using test::Gbk;
using test::RecordingMessages;

const PortPair& PairAB() {
  return PortPairOf("0107");
}

TEST(ThresholdTable, MapsFiftyFourDistinctEditsInDataOrder) {
  const auto& slots = ThresholdSlots();
  std::set<int> edits;
  for (const auto& slot : slots) edits.insert(slot.editId);
  EXPECT_EQ(edits.size(), 54u);
  // The template's numbers, written out rather than taken from
  // ids::threshold_page::kEdits: this test holds that table to the slots of
  // the card's record.
  EXPECT_EQ(slots[0].editId, 1023);
  EXPECT_EQ(slots[11].editId, 1037);
  EXPECT_EQ(slots[35].editId, 1082);
  EXPECT_EQ(slots[43].editId, 1085);
  EXPECT_EQ(slots[53].editId, 1074);
  EXPECT_EQ(slots[36].counter, 6);
  EXPECT_EQ(slots[37].period, 1);
  EXPECT_EQ(slots[44].layer, 4);
}

TEST(ThresholdTable, MessagesNameLayerPeriodAndCounter) {
  const std::string tail = "输入必须为 0 -- 65535 之间整数";
  const struct {
    int index;
    const char* words;
  } cases[] = {{0, "再生段,15分钟,误码块"},        {9, "再生段,24小时,不可用秒"},
               {10, "复用段,15分钟,误码块"},       {24, "对端复用段,15分钟,不可用秒"},
               {35, "高阶通道,15分钟,正指针调整"}, {36, "高阶通道,15分钟,负指针调整"},
               {42, "高阶通道,24小时,正指针调整"}, {43, "高阶通道,24小时,负指针调整"},
               {44, "对端高阶通道,15分钟,误码块"}, {53, "对端高阶通道,24小时,不可用秒"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ThresholdMessage(PairAB().secondPrefix, c.index),
              Gbk(std::string("B光口: ") + c.words + tail))
        << c.index;
  }
}

TEST(PortPair, KeySevenShowsAAndBEverythingElseCAndD) {
  EXPECT_EQ(PortPairKey("0107"), "07");
  EXPECT_EQ(PortPairKey("107"), "07");
  EXPECT_EQ(PortPairKey("07"), "");
  EXPECT_EQ(PortPairKey("01070"), "");
  EXPECT_EQ(PortPairOf("107").firstTab, Gbk("A光口"));
  EXPECT_EQ(PortPairOf("0107").secondPrefix, Gbk("B光口: "));
  for (const char* address : {"0108", "", "7", "07", "01070"}) {
    EXPECT_EQ(PortPairOf(address).firstTab, Gbk("C光口")) << address;
    EXPECT_EQ(PortPairOf(address).secondPrefix, Gbk("D光口: ")) << address;
  }
}

TEST(ThresholdValue, AcceptsOnlyAsciiDigitsUpTo65535) {
  EXPECT_EQ(ParseThresholdValue(""), 0);
  EXPECT_EQ(ParseThresholdValue("00300"), 300);
  EXPECT_EQ(ParseThresholdValue("65535"), 65535);
  EXPECT_EQ(ParseThresholdValue("000000000000065535"), 65535);
  for (const char* bad : {"65536", "99999", "123456789012", "-1", "+1", " 1", "1 ", "1.0", "0x10",
                          "1e3", "\xA3\xB1" /* full-width 1 */, "\xB9\xE2"}) {
    EXPECT_FALSE(ParseThresholdValue(bad)) << bad;
  }
}

TEST(ThresholdValue, EncodesLowByteFirst) {
  EXPECT_EQ(EncodeThresholdValue(300), "2C01");
  EXPECT_EQ(EncodeThresholdValue(4660), "3412");
  EXPECT_EQ(EncodeThresholdValue(65535), "FFFF");
  EXPECT_EQ(EncodeThresholdValue(0), "0000");
  EXPECT_EQ(EncodeThresholdValue(10), "0A00");
}

TEST(ThresholdData, DecodingSwapsTheBytePairsInEitherCase) {
  std::string data;
  for (int k = 0; k < kThresholdValues; ++k) data += "0000";
  data.replace(0, 4, "2c01");
  data.replace(4, 4, "FFFF");
  data.replace(216, 4, "3412");
  data += "EXTRA";
  const ThresholdTexts texts = DecodeThresholdData(data);
  EXPECT_EQ(texts[0], "300");
  EXPECT_EQ(texts[1], "65535");
  EXPECT_EQ(texts[2], "0");
  EXPECT_EQ(texts[54], "4660");
}

TEST(ThresholdData, RoundTripsEveryValue) {
  ThresholdTexts texts;
  for (int k = 0; k < kThresholdValues; ++k) texts[k] = std::to_string(k * 607);
  RecordingMessages messages;
  std::string data;
  ASSERT_TRUE(BuildThresholdData(texts, PairAB(), messages, data));
  EXPECT_EQ(data.size(), kThresholdDataLength);
  EXPECT_EQ(DecodeThresholdData(data), texts);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(ThresholdData, EmptyEditsEncodeAsZeros) {
  ThresholdTexts texts;
  RecordingMessages messages;
  std::string data = "stale";
  ASSERT_TRUE(BuildThresholdData(texts, PairAB(), messages, data));
  EXPECT_EQ(data, std::string(432, '0'));
}

TEST(ThresholdData, ReportsOnlyTheFirstFailureWithItsPortsPrefix) {
  ThresholdTexts texts;
  texts[10] = "65536";
  texts[54] = "x";
  RecordingMessages messages;
  std::string data;
  EXPECT_FALSE(BuildThresholdData(texts, PortPairOf("0108"), messages, data));
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(messages.shown, std::vector<std::string>{
                                Gbk("C光口: 复用段,15分钟,误码块输入必须为 0 -- 65535 之间整数")});

  texts[10].clear();
  messages.shown.clear();
  EXPECT_FALSE(BuildThresholdData(texts, PairAB(), messages, data));
  EXPECT_EQ(messages.shown, std::vector<std::string>{
                                Gbk("B光口: 再生段,15分钟,误码块输入必须为 0 -- 65535 之间整数")});
}

TEST(ThresholdData, PlacesEachPortsValueAtItsOffset) {
  ThresholdTexts texts;
  texts[0] = "300";
  texts[54] = "300";
  RecordingMessages messages;
  std::string data;
  ASSERT_TRUE(BuildThresholdData(texts, PairAB(), messages, data));
  EXPECT_EQ(data.substr(0, 4), "2C01");
  EXPECT_EQ(data.substr(216, 4), "2C01");
}

}  // namespace
}  // namespace t740
