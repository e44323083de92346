#include "overhead/section_overhead.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/gbk.h"
#include "support/recording_card.h"

namespace t740 {
namespace {

using test::Gbk;
using test::RecordedRequest;
using test::RecordingCard;
using test::RecordingMessages;
using test::RecordingPause;

constexpr char kReadOid[] = "1.3.6.1.4.1.47291.2.1.1.85.1.01.03.12";
constexpr char kWriteOid[] = "1.3.6.1.4.1.47291.2.1.1.85.2.01.03.12";

class SectionOverheadTest : public ::testing::Test {
 protected:
  SectionOverheadTest() {
    card.SetRequestFunction(RecordingCard::Function());
    card.SetIdentity("192.168.1.20", "103");
    card.SetPause(pause);
  }

  static SectionDirections Valid() {
    SectionDirections d;
    for (SectionDirection& direction : d) {
      direction.j0Expected = std::string(32, 'e');
      direction.j0Send = std::string(32, 's');
      direction.k1Send = "01";
      direction.k2Send = "02";
      direction.s1Send = "0b";
      direction.z0Send = "55";
    }
    return d;
  }

  RecordingCard fake;
  RecordingPause pause;
  RecordingMessages messages;
  CCardObject card;
  bool cacheUsed = false;
};

TEST_F(SectionOverheadTest, FirstReadTakesThePolledCacheAndLaterReadsAskTheCard) {
  card.SetSectionOverheadCache("HEAD00" + std::string(32, 'c') + std::string(448, '0'));
  fake.Answer(kReadOid, "HEAD00" + std::string(32, 'k') + std::string(448, '0'));

  auto first = FetchSectionOverhead(card, cacheUsed, messages);
  ASSERT_TRUE(first);
  EXPECT_TRUE(cacheUsed);
  EXPECT_EQ((*first)[0].j0Received, std::string(32, 'c'));
  EXPECT_TRUE(fake.Requests().empty());

  auto second = FetchSectionOverhead(card, cacheUsed, messages);
  ASSERT_TRUE(second);
  EXPECT_EQ((*second)[0].j0Received, std::string(32, 'k'));
  const auto requests = fake.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 0);
  EXPECT_EQ(requests[0].oid, kReadOid);
  EXPECT_EQ(requests[0].ip, "192.168.1.20");
  EXPECT_EQ(requests[0].value, "");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SectionOverheadTest, AnEmptyCacheIsReportedOnceAndStillCountsAsUsed) {
  EXPECT_FALSE(FetchSectionOverhead(card, cacheUsed, messages));
  EXPECT_TRUE(cacheUsed);
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("开销配置数据信息不全")});
  EXPECT_TRUE(fake.Requests().empty());
}

TEST_F(SectionOverheadTest, ResponseOf440IsAcceptedAnd439Rejected) {
  cacheUsed = true;
  fake.Answer(kReadOid, std::string(439, '1'));
  EXPECT_FALSE(FetchSectionOverhead(card, cacheUsed, messages));
  EXPECT_EQ(messages.shown.size(), 1u);
  fake.Answer(kReadOid, std::string(440, '1'));
  const auto directions = FetchSectionOverhead(card, cacheUsed, messages);
  ASSERT_TRUE(directions);
  EXPECT_EQ((*directions)[3].j0Send, std::string(10, '1'));
  EXPECT_EQ((*directions)[3].k1Send, "");
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(SectionOverheadTest, HostThatThrowsEndsTheReadSilently) {
  cacheUsed = true;
  fake.OnRequest([](const RecordedRequest&, CText*) { throw std::runtime_error("link down"); });
  EXPECT_FALSE(FetchSectionOverhead(card, cacheUsed, messages));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SectionOverheadTest, SetSendsTheHeadAndAll480CharactersAndReportsSuccess) {
  fake.OnRequest([](const RecordedRequest&, CText* response) { *response = "1"; });
  WriteSectionOverhead(card, Valid(), messages);
  const auto requests = fake.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 1);
  EXPECT_EQ(requests[0].oid, kWriteOid);
  EXPECT_EQ(requests[0].preset, Gbk("开销设置!"));
  const std::string& value = requests[0].value;
  ASSERT_EQ(value.size(), 486u);
  EXPECT_EQ(value.substr(0, 6), "F00000");
  const std::string block = std::string(32, '0') + std::string(32, 'E') + std::string(32, 'S') +
                            "00010002000B55" + std::string(10, '0');
  EXPECT_EQ(value.substr(6), block + block + block + block);
  EXPECT_EQ(pause.sleeps, std::vector<int>{10});
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("开销设置成功")});
}

TEST_F(SectionOverheadTest, SetReportsFailureForAnythingButOne) {
  WriteSectionOverhead(card, Valid(), messages);  // the host leaves the preset
  fake.OnRequest([](const RecordedRequest&, CText* response) { *response = "1 "; });
  WriteSectionOverhead(card, Valid(), messages);
  EXPECT_EQ(messages.shown, (std::vector<std::string>{Gbk("开销设置失败"), Gbk("开销设置失败")}));
}

TEST_F(SectionOverheadTest, InvalidSetSendsNothing) {
  SectionDirections directions = Valid();
  directions[1].z0Send = "5";
  WriteSectionOverhead(card, directions, messages);
  EXPECT_TRUE(fake.Requests().empty());
  EXPECT_TRUE(pause.sleeps.empty());
  EXPECT_EQ(messages.shown, std::vector<std::string>{"B" + Gbk("方向 Z0发送值长度不是2位!")});
}

}  // namespace
}  // namespace t740
