#include "core/status/perf_decoder.h"

#include <gtest/gtest.h>

#include <array>

#include "support/gbk.h"

namespace t740 {
namespace {

using test::Gbk;

// A field of `length` characters whose every four characters spell a
// number that is unique across the data: a formatted record then shows
// exactly where it was cut from.
std::string Field(int field, size_t length) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text(length, '0');
  for (size_t i = 0; i < length; ++i) {
    const size_t word = field * 1024 + i / 4;
    text[i] = kDigits[(word >> (4 * (3 - i % 4))) & 0xF];
  }
  return text;
}

struct PerfData {
  std::array<std::string, 5> fields;
  std::string Text() const {
    std::string text;
    for (const auto& f : fields) text += f + ",";
    return text;
  }
};

PerfData Data(const char* quarterCount, const char* dayCount, size_t length = 900) {
  PerfData data;
  for (int f = 0; f < 5; ++f) data.fields[f] = Field(f, length);
  data.fields[0].replace(6, 2, quarterCount);
  data.fields[4].replace(8, 2, dayCount);
  return data;
}

struct Outputs {
  std::array<CText, 44> texts;
  std::array<CText, 44> labels;
  bool Decode(int16_t period, int16_t history, const std::string& data) {
    return DecodePerformanceData(period, history, data, texts.data(), labels.data());
  }
  int Written() const {
    int count = 0;
    for (const auto& t : texts) count += !t.empty();
    return count;
  }
};

TEST(FormatPerfRecord, FramesTheTwentySevenFields) {
  std::string record;
  for (int i = 0; i < 27; ++i) record += std::string(4, char('a' + (i % 26)));
  EXPECT_EQ(FormatPerfRecord(record),
            "O=A:aaaa,B:bbbb,C:cccc,D:dddd,E:eeee,;"
            "P=A:ffff,B:gggg,C:hhhh,D:iiii,E:jjjj,;"
            "Q=A:kkkk,B:llll,C:mmmm,D:nnnn,E:oooo,;"
            "R=A:pppp,B:qqqq,C:rrrr,D:ssss,E:tttt,F:uuuu,G:vvvv,;"
            "S=A:wwww,B:xxxx,C:yyyy,D:zzzz,E:aaaa,;");
  EXPECT_EQ(FormatPerfRecord("12345"),
            "O=A:1234,B:5,C:,D:,E:,;P=A:,B:,C:,D:,E:,;Q=A:,B:,C:,D:,E:,;"
            "R=A:,B:,C:,D:,E:,F:,G:,;S=A:,B:,C:,D:,E:,;");
}

TEST(DecodePerformanceData, RejectsMissingCommasAndShortFields) {
  Outputs out;
  PerfData data = Data("03", "01");
  std::string text = data.Text();
  EXPECT_FALSE(out.Decode(15, 0, text.substr(0, text.size() - 1)));
  data.fields[3].resize(899);
  EXPECT_FALSE(out.Decode(15, 0, data.Text()));
  EXPECT_EQ(out.Written(), 0);
  EXPECT_FALSE(out.Decode(15, 0, ""));
}

TEST(DecodePerformanceData, CurrentQuarterPicksRecordNOfTheFirstAreas) {
  Outputs out;
  const PerfData data = Data("03", "00");
  ASSERT_TRUE(out.Decode(15, 0, data.Text()));
  EXPECT_EQ(out.texts[0].view(), FormatPerfRecord(data.fields[0].substr(334, 108)));
  EXPECT_EQ(out.texts[22].view(), FormatPerfRecord(data.fields[2].substr(328, 108)));
  EXPECT_EQ(out.labels[0], Gbk("A/C光口").c_str());
  EXPECT_EQ(out.labels[22], Gbk("B/D光口").c_str());
  EXPECT_EQ(out.Written(), 2);
}

TEST(DecodePerformanceData, CurrentQuarterFromEightOnUsesTheSecondAreas) {
  Outputs out;
  const PerfData data = Data("09", "00");
  ASSERT_TRUE(out.Decode(15, 0, data.Text()));
  EXPECT_EQ(out.texts[0].view(), FormatPerfRecord(data.fields[1].substr(112, 108)));
  EXPECT_EQ(out.texts[22].view(), FormatPerfRecord(data.fields[3].substr(112, 108)));
}

TEST(DecodePerformanceData, QuarterHistoryWritesNPairs) {
  Outputs out;
  const PerfData data = Data("10", "00");
  ASSERT_TRUE(out.Decode(15, 1, data.Text()));
  EXPECT_EQ(out.Written(), 20);
  EXPECT_EQ(out.texts[7].view(), FormatPerfRecord(data.fields[0].substr(10 + 7 * 108, 108)));
  EXPECT_EQ(out.texts[8].view(), FormatPerfRecord(data.fields[1].substr(4, 108)));
  EXPECT_EQ(out.texts[31].view(), FormatPerfRecord(data.fields[3].substr(4 + 108, 108)));
  EXPECT_TRUE(out.texts[10].empty());
}

TEST(DecodePerformanceData, DayRecordsPairRWithRPlusThree) {
  Outputs out;
  const PerfData data = Data("00", "01");
  ASSERT_TRUE(out.Decode(24, 0, data.Text()));
  EXPECT_EQ(out.texts[0].view(), FormatPerfRecord(data.fields[4].substr(118, 108)));
  EXPECT_EQ(out.texts[22].view(), FormatPerfRecord(data.fields[4].substr(442, 108)));
  Outputs history;
  ASSERT_TRUE(history.Decode(24, 1, Data("00", "00").Text()));
  EXPECT_EQ(history.Written(), 0);
}

TEST(DecodePerformanceData, OtherPeriodsWriteNothing) {
  Outputs out;
  EXPECT_TRUE(out.Decode(16, 0, Data("01", "01").Text()));
  EXPECT_EQ(out.Written(), 0);
  EXPECT_TRUE(DecodePerformanceData(16, 1, Data("01", "01").Text(), nullptr, nullptr));
  EXPECT_FALSE(PeriodWritesEntries(16));
  EXPECT_TRUE(PeriodWritesEntries(15) && PeriodWritesEntries(24));
}

TEST(DecodePerformanceData, CountsNeverWritePastEachHalfNorReadOutside) {
  Outputs out;
  ASSERT_TRUE(out.Decode(15, 1, Data("99", "00").Text()));
  EXPECT_EQ(out.Written(), 44);
  // Records 16 onwards lie past the areas and come out with empty fields.
  EXPECT_EQ(out.texts[21].view(), FormatPerfRecord(""));

  Outputs day;
  ASSERT_TRUE(day.Decode(24, 1, Data("00", "99").Text()));
  EXPECT_EQ(day.Written(), 44);

  for (const char* count : {"-1", "-9", "xx", "80"}) {
    Outputs current;
    ASSERT_TRUE(current.Decode(15, 0, Data(count, count).Text())) << count;
    ASSERT_TRUE(current.Decode(24, 0, Data(count, count).Text())) << count;
    EXPECT_EQ(current.Written(), 2) << count;
  }
  Outputs negative;
  ASSERT_TRUE(negative.Decode(15, 0, Data("-1", "00").Text()));
  EXPECT_EQ(negative.texts[0].view(), FormatPerfRecord(""));
}

}  // namespace
}  // namespace t740
