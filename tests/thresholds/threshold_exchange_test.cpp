#include "core/thresholds/threshold_exchange.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "boundary/connected_card_fixture.h"
#include "support/gbk.h"

namespace t740 {
namespace {

using test::Gbk;

class ThresholdExchangeTest : public test::ConnectedCardTest {
 protected:
  ThresholdExchangeTest() : ConnectedCardTest("10.0.0.7", "107") {}

  static std::string Response(const std::string& firstValue) {
    std::string response = "D80000" + firstValue;
    response.resize(438, '0');
    return response;
  }

  ThresholdReader reader;
};

TEST_F(ThresholdExchangeTest, FirstReadTakesTheCacheLaterReadsAskTheCard) {
  card.SetThresholdCache(Response("2C01"));
  fake.Answer("1.3.6.1.4.1.47291.2.1.1.85.1.01.07.51", Response("FFFF"));
  auto first = reader.Read(card, messages);
  ASSERT_TRUE(first);
  EXPECT_EQ((*first)[0], "300");
  EXPECT_TRUE(fake.Requests().empty());
  auto second = reader.Read(card, messages);
  ASSERT_TRUE(second);
  EXPECT_EQ((*second)[0], "65535");
  ASSERT_EQ(fake.Requests().size(), 1u);
  EXPECT_EQ(fake.Requests()[0].operation, 0);
}

TEST_F(ThresholdExchangeTest, ShortResponseIsIncompleteButTheCacheCountsAsUsed) {
  card.SetThresholdCache(Response("").substr(0, 437));
  EXPECT_FALSE(reader.Read(card, messages));
  EXPECT_TRUE(reader.CacheUsed());
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("门限设置数据信息不全")});
}

TEST_F(ThresholdExchangeTest, ThrowingHostEndsTheReadSilently) {
  reader.Read(card, messages);
  messages.shown.clear();
  fake.OnRequest([](const test::RecordedRequest&, CText*) { throw std::runtime_error("down"); });
  EXPECT_FALSE(reader.Read(card, messages));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ThresholdExchangeTest, WriteSendsHeadAndDataAndReportsTheAnswer) {
  fake.OnRequest([](const test::RecordedRequest&, CText* response) { *response = "1"; });
  ThresholdTexts texts;
  texts[0] = "300";
  EXPECT_TRUE(WriteThresholds(card, texts, PortPairOf(card.CardAddress()), messages));
  ASSERT_EQ(fake.Requests().size(), 1u);
  const auto request = fake.Requests()[0];
  EXPECT_EQ(request.oid, "1.3.6.1.4.1.47291.2.1.1.85.2.01.07.51");
  EXPECT_EQ(request.value.size(), 438u);
  EXPECT_EQ(request.value.substr(0, 10), "D800002C01");
  EXPECT_EQ(request.preset, Gbk("门限设置!"));
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("门限设置成功")});
}

TEST_F(ThresholdExchangeTest, InvalidValueSendsNothing) {
  ThresholdTexts texts;
  texts[107] = "0x10";
  EXPECT_FALSE(WriteThresholds(card, texts, PortPairOf(card.CardAddress()), messages));
  EXPECT_TRUE(fake.Requests().empty());
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{
                Gbk("B光口: 对端高阶通道,24小时,不可用秒输入必须为 0 -- 65535 之间整数")});
}

TEST_F(ThresholdExchangeTest, ClearSendsTheHeadAloneAndNeedsAnExactOne) {
  fake.OnRequest([](const test::RecordedRequest&, CText* response) { *response = "1 "; });
  EXPECT_EQ(ClearPerformanceCounters(card, messages), WriteOutcome::Failed);
  card.SetIdentity("10.0.0.7", "0107");
  fake.OnRequest([](const test::RecordedRequest&, CText* response) { *response = "1"; });
  EXPECT_EQ(ClearPerformanceCounters(card, messages), WriteOutcome::Succeeded);
  const auto requests = fake.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].oid, "1.3.6.1.4.1.47291.2.1.1.85.2.01.07.50");
  EXPECT_EQ(requests[1].oid, requests[0].oid);
  EXPECT_EQ(requests[1].value, "000000");
  EXPECT_EQ(requests[1].preset, Gbk("清零设置!"));
  EXPECT_EQ(messages.shown, (std::vector<std::string>{Gbk("清零失败"), Gbk("清零成功")}));
}

}  // namespace
}  // namespace t740
