// The device information page against a recording host.
#include "pages/property_page1.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <stdexcept>

#include "ids/device_page_ids.h"
#include "support/controls.h"
#include "support/dialog_fixture.h"
#include "support/gbk.h"
#include "support/screenshot.h"

namespace t740::test {
namespace {

namespace device = ids::device_page;

const char kBasicOid[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.05.1";

class DevicePage : public DialogTest {
 protected:
  DevicePage() {
    record.deviceType = deviceType.c_str();
    record.location = location.c_str();
    op.AcceptAllMessages();
  }
  std::vector<std::string> ValueTexts() {
    std::vector<std::string> texts;
    for (int id :
         {device::kDeviceAddress, device::kLocation, device::kIpAddress, device::kSoftwareVersion,
          device::kHardwareVersion, device::kDeviceType, device::kCardAddress})
      texts.push_back(Text(&page, id));
    return texts;
  }

  std::string deviceType = Gbk("SDH光传输设备");
  std::string location = Gbk("二号机房");
  CPropertyPage1 page{card};
};

TEST_F(DevicePage, FirstReadShowsTheCachedVersionsAndTheIdentity) {
  card.SetBasicInfoCache("0100002110");
  page.Read();
  EXPECT_TRUE(host.Requests().empty());
  EXPECT_TRUE(page.CacheUsed());
  EXPECT_EQ(Text(&page, device::kSoftwareVersion), "V2.1");
  EXPECT_EQ(Text(&page, device::kHardwareVersion), "V1.0");
  EXPECT_EQ(Text(&page, device::kDeviceAddress), "01");
  EXPECT_EQ(Text(&page, device::kCardAddress), "05");
  EXPECT_EQ(Text(&page, device::kIpAddress), "10.1.2.3");
  EXPECT_EQ(Text(&page, device::kDeviceType), "SDH光传输设备");
  EXPECT_EQ(Text(&page, device::kLocation), "二号机房");
  EXPECT_TRUE(op.Messages().empty());
  page.resize(page.sizeHint());
  SaveScreenshot(&page, "device_information_page_zh");
}

TEST_F(DevicePage, LaterReadsAskTheCard) {
  card.SetBasicInfoCache("0100002110");
  page.Read();
  host.Answer(kBasicOid, "010000A3F0");
  page.Read();
  const auto requests = host.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 0);
  EXPECT_EQ(requests[0].oid, kBasicOid);
  EXPECT_EQ(requests[0].value, "");
  EXPECT_EQ(Text(&page, device::kSoftwareVersion), "VA.3");
  EXPECT_EQ(Text(&page, device::kHardwareVersion), "VF.0");
}

TEST_F(DevicePage, AnEmptyCacheReportsIncompleteDataAndChangesNothing) {
  const std::vector<std::string> before = ValueTexts();
  page.Read();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"基本属性数据信息不全"});
  EXPECT_EQ(ValueTexts(), before);
  EXPECT_TRUE(page.CacheUsed());
}

TEST_F(DevicePage, NineCharactersAreIncompleteAndKeepThePreviousTexts) {
  card.SetBasicInfoCache("0100002110");
  page.Read();
  host.Answer(kBasicOid, "010000321");
  page.Read();
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"基本属性数据信息不全"});
  EXPECT_EQ(Text(&page, device::kSoftwareVersion), "V2.1");
}

TEST_F(DevicePage, AHostThatThrowsEndsTheReadSilently) {
  card.SetBasicInfoCache("0100002110");
  page.Read();
  host.OnRequest([](const RecordedRequest&, CText*) { throw std::runtime_error("timeout"); });
  page.Read();
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(Text(&page, device::kHardwareVersion), "V1.0");
}

// The page has a Chinese template only.
TEST_F(DevicePage, StaysChineseUnderAnEnglishLocale) {
  card.SetBasicInfoCache("0100002110");
  page.Read();
  EXPECT_EQ(
      page.findChild<QLabel*>("label" + IdName(device::kSoftwareVersion))->text().toStdString(),
      "软件版本号");
  page.resize(page.sizeHint());
  SaveScreenshot(&page, "device_information_page_en");
}

TEST_F(DevicePage, CarriesItsTemplateIdAndPicture) {
  EXPECT_EQ(page.objectName(), IdName(device::kTemplate));
  auto* picture = page.findChild<QLabel*>("picture");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->pixmap().size(), QSize(38, 351));
}

}  // namespace
}  // namespace t740::test
