#include "overhead/path_overhead.h"

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

constexpr char kReadOid[] = "1.3.6.1.4.1.47291.2.1.1.85.1.02.07.13";
constexpr char kWriteOid[] = "1.3.6.1.4.1.47291.2.1.1.85.2.02.07.13";

class PathOverheadTest : public ::testing::Test {
 protected:
  PathOverheadTest() {
    card.SetRequestFunction(RecordingCard::Function());
    card.SetIdentity("10.1.1.1", "0207");
    card.SetPause(pause);
  }

  static PathOverhead Valid() {
    PathOverhead v;
    v.port = 2;
    v.vc4 = 2;
    v.j1Expected = std::string(32, 'e');
    v.c2Expected = "13";
    v.j1Send = std::string(32, 'f');
    v.c2Send = "14";
    v.k3Send = "0a";
    v.g1RemoteDefect = true;
    v.n1Send = "0c";
    return v;
  }

  RecordingCard fake;
  RecordingPause pause;
  RecordingMessages messages;
  CCardObject card;
};

TEST_F(PathOverheadTest, SetWritesModeOneWithTheChannelAndReports) {
  fake.OnRequest([](const RecordedRequest&, CText* response) { *response = "1"; });
  WritePathOverhead(card, Valid(), messages);
  const auto requests = fake.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 1);
  EXPECT_EQ(requests[0].oid, kWriteOid);
  EXPECT_EQ(requests[0].preset, Gbk("高阶通道开销设置!"));
  EXPECT_EQ(requests[0].value, "3C0000010202" + std::string(32, '0') + std::string(32, 'E') +
                                   std::string(32, 'F') + "001314000A080C");
  EXPECT_EQ(requests[0].value.size(), 122u);
  EXPECT_EQ(pause.sleeps, std::vector<int>{10});
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("高阶通道开销设置成功")});
}

TEST_F(PathOverheadTest, SetThatTheCardDoesNotConfirmFails) {
  WritePathOverhead(card, Valid(), messages);
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("高阶通道开销设置失败")});
}

TEST_F(PathOverheadTest, InvalidSetSendsNothing) {
  PathOverhead v = Valid();
  v.j1Expected.pop_back();
  v.n1Send = "";
  WritePathOverhead(card, v, messages);
  EXPECT_TRUE(fake.Requests().empty());
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("J1期望接收值长度不是32位!")});
}

TEST_F(PathOverheadTest, SelectWritesModeZeroSilently) {
  PathOverhead v = Valid();
  v.port = 3;
  v.vc4 = 0;
  v.j1Send = "";  // not validated
  SendPathChannelSelect(card, v, messages);
  const auto requests = fake.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 1);
  EXPECT_EQ(requests[0].oid, kWriteOid);
  EXPECT_EQ(requests[0].value.substr(0, 12), "3C0000000300");
  EXPECT_EQ(requests[0].preset, Gbk("高阶通道开销设置!"));
  EXPECT_EQ(pause.sleeps, std::vector<int>{10});
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PathOverheadTest, SelectOfAnEmptyPageIsTooShortToSend) {
  SendPathChannelSelect(card, PathOverhead(), messages);
  EXPECT_TRUE(fake.Requests().empty());
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("高阶通道开销配置数据不全")});
}

TEST_F(PathOverheadTest, ReadMinimumIs120AtOpeningAnd60FromTheButton) {
  const std::string response119 = "HEAD000103" + std::string(109, '0');
  fake.Answer(kReadOid, response119);
  EXPECT_FALSE(FetchPathOverhead(card, false, messages));
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("高阶通道开销配置数据信息不全")});
  EXPECT_TRUE(FetchPathOverhead(card, true, messages));

  fake.Answer(kReadOid, response119 + "0");
  EXPECT_TRUE(FetchPathOverhead(card, false, messages));

  fake.Answer(kReadOid, std::string(59, '0'));
  EXPECT_FALSE(FetchPathOverhead(card, true, messages));
  fake.Answer(kReadOid, "HEAD00000003" + std::string(48, 'j'));
  const auto sixty = FetchPathOverhead(card, true, messages);
  ASSERT_TRUE(sixty);
  EXPECT_EQ(sixty->vc4, 3);
  EXPECT_EQ(sixty->j1Received, std::string(32, 'j'));
  EXPECT_EQ(sixty->j1Expected, std::string(16, 'j'));
  EXPECT_EQ(messages.shown.size(), 2u);

  const auto requests = fake.Requests();
  ASSERT_EQ(requests.size(), 5u);
  for (const RecordedRequest& request : requests) {
    EXPECT_EQ(request.operation, 0);
    EXPECT_EQ(request.oid, kReadOid);
  }
}

TEST_F(PathOverheadTest, HostThatThrowsEndsTheReadSilently) {
  fake.OnRequest([](const RecordedRequest&, CText*) { throw std::bad_alloc(); });
  EXPECT_FALSE(FetchPathOverhead(card, true, messages));
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace t740
