#include "core/console/basic_info_record.h"

#include <gtest/gtest.h>

#include "support/gbk.h"
#include "support/recording_card.h"

namespace t740::test {
namespace {

class BasicInfoRecord : public ::testing::Test {
 protected:
  BasicInfoRecord() {
    card.SetIdentity("10.0.0.8", "0105");
    record.deviceType = deviceType.c_str();
    record.location = location.c_str();
    card.SetDeviceRecord(&record);
  }
  std::string deviceType = Gbk("光传输设备");
  std::string location = Gbk("二号机房");
  HostDeviceRecord record{};
  CCardObject card;
  RecordingMessages messages;
};

TEST_F(BasicInfoRecord, ShowsVersionsFromCharacters6To9AndTheIdentity) {
  const auto shown = BuildDeviceInformation(card, "0100002110FFFF", messages);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->software, "V2.1");
  EXPECT_EQ(shown->hardware, "V1.0");
  EXPECT_EQ(shown->deviceAddress, "01");
  EXPECT_EQ(shown->cardAddress, "05");
  EXPECT_EQ(shown->ipAddress, "10.0.0.8");
  EXPECT_EQ(shown->deviceType, deviceType);
  EXPECT_EQ(shown->location, location);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BasicInfoRecord, TenCharactersAreCompleteNineAreNot) {
  const auto shown = BuildDeviceInformation(card, "010000A3f0", messages);
  ASSERT_TRUE(shown);
  // Digits are shown as they stand, letters included.
  EXPECT_EQ(shown->software, "VA.3");
  EXPECT_EQ(shown->hardware, "Vf.0");
  EXPECT_FALSE(BuildDeviceInformation(card, "010000211", messages));
  EXPECT_FALSE(BuildDeviceInformation(card, "", messages));
  EXPECT_EQ(messages.shown, std::vector<std::string>(2, Gbk("基本属性数据信息不全")));
}

TEST_F(BasicInfoRecord, AThreeCharacterCardAddressSplitsLikeItsFourCharacterForm) {
  card.SetIdentity("10.0.0.8", "105");
  const auto shown = BuildDeviceInformation(card, "0100002110", messages);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->deviceAddress, "01");
  EXPECT_EQ(shown->cardAddress, "05");
}

TEST_F(BasicInfoRecord, AMissingDeviceRecordOrTextShowsEmpty) {
  record.location = nullptr;
  auto shown = BuildDeviceInformation(card, "0100002110", messages);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->location, "");
  EXPECT_EQ(shown->deviceType, deviceType);
  card.SetDeviceRecord(nullptr);
  shown = BuildDeviceInformation(card, "0100002110", messages);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->deviceType, "");
}

}  // namespace
}  // namespace t740::test
