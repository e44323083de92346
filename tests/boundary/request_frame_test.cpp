#include "core/card/request_frame.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "boundary/connected_card_fixture.h"
#include "support/gbk.h"

namespace t740 {
namespace {

using test::Gbk;

class RequestFrameTest : public test::ConnectedCardTest {
 protected:
  RequestFrameTest() : ConnectedCardTest("10.0.0.5", "0105") {}
};

TEST_F(RequestFrameTest, ReadPassesTheArgumentsInOrderAndDropsTheHead) {
  fake.Answer("1.3.6.1.4.1.47291.2.1.1.85.1.01.05.11", "0100003C");
  const auto data = ReadGroupFromCard(card, GroupOf(GroupId::Loopback), 7, messages);
  ASSERT_TRUE(data);
  EXPECT_EQ(*data, "3C");
  const auto requests = fake.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 0);
  EXPECT_EQ(requests[0].ip, "10.0.0.5");
  EXPECT_EQ(requests[0].oid, "1.3.6.1.4.1.47291.2.1.1.85.1.01.05.11");
  EXPECT_EQ(requests[0].one, "1");
  EXPECT_EQ(requests[0].value, "");
  EXPECT_EQ(requests[0].preset, "");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RequestFrameTest, ReadAcceptsTheMinimumAndRejectsOneShorter) {
  const Group& group = GroupOf(GroupId::BasicInfo);
  EXPECT_EQ(AcceptReadResponse("0000002110", group.readMinimum, group, messages), "2110");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(AcceptReadResponse("000000211", group.readMinimum, group, messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], Gbk("基本属性数据信息不全"));
}

TEST_F(RequestFrameTest, ReadThatThrowsEndsSilently) {
  fake.OnRequest([](const test::RecordedRequest&, CText*) { throw std::runtime_error("host"); });
  EXPECT_FALSE(ReadGroupFromCard(card, GroupOf(GroupId::SectionOverhead), 440, messages));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RequestFrameTest, WriteSendsHeadAndDataWithThePresetAndPauses) {
  fake.OnRequest([](const test::RecordedRequest&, CText* response) { *response = "1"; });
  EXPECT_EQ(WriteGroup(card, GroupOf(GroupId::Loopback), "FF", messages), WriteOutcome::Succeeded);
  const auto requests = fake.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].operation, 1);
  EXPECT_EQ(requests[0].oid, "1.3.6.1.4.1.47291.2.1.1.85.2.01.05.11");
  EXPECT_EQ(requests[0].value, "010000FF");
  EXPECT_EQ(requests[0].preset, Gbk("环回控制设置!"));
  EXPECT_EQ(pause.sleeps, std::vector<int>{10});
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("环回控制设置成功")});
}

TEST_F(RequestFrameTest, OnlyAnExactOneCountsAsSuccess) {
  for (const char* answer : {"1 ", "01", "0", ""}) {
    fake.OnRequest([answer](const test::RecordedRequest&, CText* response) { *response = answer; });
    messages.shown.clear();
    EXPECT_EQ(WriteGroup(card, GroupOf(GroupId::PerfClear), "", messages), WriteOutcome::Failed)
        << answer;
    EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("清零失败")});
  }
}

TEST_F(RequestFrameTest, UntouchedResponseKeepsThePresetAndFails) {
  EXPECT_EQ(WriteGroup(card, GroupOf(GroupId::Thresholds), std::string(432, '0'), messages),
            WriteOutcome::Failed);
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("门限设置失败")});
  EXPECT_EQ(fake.Requests().at(0).value, "D80000" + std::string(432, '0'));
}

TEST_F(RequestFrameTest, ShortDataIsReportedAndNothingSent) {
  EXPECT_EQ(WriteGroup(card, GroupOf(GroupId::SectionOverhead), std::string(439, '0'), messages),
            WriteOutcome::DataShort);
  EXPECT_TRUE(fake.Requests().empty());
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("开销配置数据不全")});
}

TEST_F(RequestFrameTest, WriteThatThrowsReportsTheGroupFailure) {
  fake.OnRequest([](const test::RecordedRequest&, CText*) { throw std::runtime_error("host"); });
  EXPECT_EQ(WriteGroup(card, GroupOf(GroupId::PathOverhead), std::string(110, '0'), messages),
            WriteOutcome::Failed);
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("高阶通道开销设置失败")});
}

TEST_F(RequestFrameTest, UnreportedWriteShowsNothingButShortData) {
  const Group& path = GroupOf(GroupId::PathOverhead);
  EXPECT_EQ(WriteGroup(card, path, std::string(60, '0'), messages, false), WriteOutcome::Failed);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(WriteGroup(card, path, std::string(59, '0'), messages, false), WriteOutcome::DataShort);
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("高阶通道开销配置数据不全")});
}

TEST_F(RequestFrameTest, CardWithoutRequestFunctionAnswersNothing) {
  card.SetRequestFunction(nullptr);
  EXPECT_FALSE(ReadGroupFromCard(card, GroupOf(GroupId::Loopback), 7, messages));
  EXPECT_EQ(messages.shown, std::vector<std::string>{Gbk("环回控制数据信息不全")});
}

TEST(GroupTable, HoldsTheSuffixesAndHeadsOfTheCard) {
  EXPECT_STREQ(GroupOf(GroupId::BasicInfo).suffix, ".1");
  EXPECT_STREQ(GroupOf(GroupId::Loopback).setHead, "010000");
  EXPECT_STREQ(GroupOf(GroupId::SectionOverhead).setHead, "F00000");
  EXPECT_STREQ(GroupOf(GroupId::PathOverhead).setHead, "3C0000");
  EXPECT_STREQ(GroupOf(GroupId::PerfClear).setHead, "000000");
  EXPECT_STREQ(GroupOf(GroupId::Thresholds).suffix, ".51");
  EXPECT_EQ(GroupOf(GroupId::Thresholds).readMinimum, 438u);
  EXPECT_EQ(GroupOf(GroupId::PathOverhead).preset, Gbk("高阶通道开销设置!"));
  EXPECT_EQ(GroupOf(GroupId::SectionOverhead).readShort, Gbk("开销配置数据信息不全"));
}

}  // namespace
}  // namespace t740
