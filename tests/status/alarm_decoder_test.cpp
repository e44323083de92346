#include "core/status/alarm_decoder.h"

#include <gtest/gtest.h>

#include "support/gbk.h"

namespace t740 {
namespace {

using test::Gbk;

// A 62-character status whose port bytes A to D are given.
std::string Status(const char* portBytes) {
  std::string status = "000000";
  status += portBytes;
  status.resize(kAlarmStatusMinimum, '0');
  return status;
}

int16_t LevelOf(int type, const std::string& status) {
  const auto reading = DecodeAlarm(type, status);
  EXPECT_TRUE(reading) << type;
  return reading ? reading->level : -1;
}

TEST(DecodeAlarm, RejectsShortStatusAndUnknownTypes) {
  EXPECT_FALSE(DecodeAlarm(1, Status("FF").substr(0, 61)));
  EXPECT_TRUE(DecodeAlarm(1, Status("FF")));
  EXPECT_FALSE(DecodeAlarm(0, Status("FF")));
  EXPECT_FALSE(DecodeAlarm(17, Status("FF")));
}

TEST(DecodeAlarm, LossOfSignalMasksThePortsOtherAlarms) {
  const std::string status = Status("24");
  EXPECT_EQ(LevelOf(1, status), kAlarmAbsent);
  EXPECT_EQ(LevelOf(2, status), kAlarmPresent);
  EXPECT_EQ(LevelOf(3, status), kAlarmAbsent);
  EXPECT_EQ(LevelOf(4, status), kAlarmAbsent);
  EXPECT_EQ(LevelOf(1, Status("20")), kAlarmPresent);
}

TEST(DecodeAlarm, EachPortReadsItsOwnByte) {
  EXPECT_EQ(LevelOf(7, Status("0003")), kAlarmPresent);
  EXPECT_EQ(LevelOf(8, Status("0003")), kAlarmPresent);
  EXPECT_EQ(LevelOf(5, Status("0003")), kAlarmAbsent);
  EXPECT_EQ(LevelOf(3, Status("0003")), kAlarmAbsent);
  EXPECT_EQ(LevelOf(9, Status("000020")), kAlarmPresent);
  EXPECT_EQ(LevelOf(14, Status("00000004")), kAlarmPresent);
  EXPECT_EQ(LevelOf(16, Status("00000005")), kAlarmAbsent);
  EXPECT_EQ(LevelOf(16, Status("00000001")), kAlarmPresent);
}

TEST(DecodeAlarm, LowerCaseDecodesAsUpperCase) {
  EXPECT_EQ(LevelOf(5, Status("002a")), LevelOf(5, Status("002A")));
  EXPECT_EQ(LevelOf(5, Status("002a")), kAlarmPresent);
}

TEST(DecodeAlarm, TextsNameThePortAndAlarm) {
  const char* expected[] = {"光口A:RS-TIM", "光口A:STM-LOS", "光口A:STM-LOF", "光口A:RS-OOF",
                            "光口B:RS-TIM", "光口B:STM-LOS", "光口B:STM-LOF", "光口B:RS-OOF",
                            "光口C:RS-TIM", "光口C:STM-LOS", "光口C:STM-LOF", "光口C:RS-OOF",
                            "光口D:RS-TIM", "光口D:STM-LOS", "光口D:STM-LOF", "光口D:RS-OOF"};
  for (int type = 1; type <= 16; ++type) {
    const auto reading = DecodeAlarm(type, Status("00"));
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->text, Gbk(expected[type - 1]));
    EXPECT_EQ(reading->level, kAlarmAbsent);
  }
}

TEST(DecodeAlarm, NonHexBytesFollowTheCodecRules) {
  // A leading non-digit adds no bits, so port A reads the next digits.
  std::string status = "000000G24";
  status.resize(kAlarmStatusMinimum, '0');
  EXPECT_EQ(LevelOf(2, status), kAlarmPresent);
  std::string all(kAlarmStatusMinimum, 'z');
  EXPECT_EQ(LevelOf(2, all), kAlarmAbsent);
}

}  // namespace
}  // namespace t740
