// The plug-in's own request frame against the simulated card: every group
// it reads is long enough, and every write it makes is taken.
#include <gtest/gtest.h>

#include "core/card/request_frame.h"
#include "sim/request_binding.h"
#include "sim_fixture.h"
#include "support/recording_card.h"

namespace t740::test {
namespace {

class PluginFrameTest : public SimFixture {
 protected:
  PluginFrameTest() {
    plugin.SetIdentity(sim::kDefaultIp, sim::kDefaultCardAddress);
    plugin.SetRequestFunction(sim::BindRequestFunction(*card));
    plugin.SetPause(pause);
  }

  std::optional<std::string> ReadGroup(GroupId id) {
    const Group& group = GroupOf(id);
    return ReadGroupFromCard(plugin, group, group.readMinimum, messages);
  }

  CCardObject plugin;
  RecordingPause pause;
  RecordingMessages messages;
};

TEST_F(PluginFrameTest, EveryReadGroupPassesItsLengthCheck) {
  for (GroupId id : {GroupId::BasicInfo, GroupId::Loopback, GroupId::SectionOverhead,
                     GroupId::PathOverhead, GroupId::Thresholds}) {
    EXPECT_TRUE(ReadGroup(id)) << GroupOf(id).suffix;
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PluginFrameTest, WritesOfEveryGroupSucceed) {
  const std::string section = ReadGroup(GroupId::SectionOverhead).value();
  const std::string thresholds = ReadGroup(GroupId::Thresholds).value();
  EXPECT_EQ(WriteGroup(plugin, GroupOf(GroupId::Loopback), "3C", messages),
            WriteOutcome::Succeeded);
  EXPECT_EQ(WriteGroup(plugin, GroupOf(GroupId::SectionOverhead), section, messages),
            WriteOutcome::Succeeded);
  EXPECT_EQ(WriteGroup(plugin, GroupOf(GroupId::PathOverhead),
                       "01" + ReadGroup(GroupId::PathOverhead)->substr(2), messages),
            WriteOutcome::Succeeded);
  EXPECT_EQ(WriteGroup(plugin, GroupOf(GroupId::PerfClear), "", messages), WriteOutcome::Succeeded);
  EXPECT_EQ(WriteGroup(plugin, GroupOf(GroupId::Thresholds), thresholds, messages),
            WriteOutcome::Succeeded);
  EXPECT_EQ(ReadGroup(GroupId::Loopback), "3C");
  EXPECT_EQ(messages.shown.size(), 5u);
}

TEST_F(PluginFrameTest, RefusedAndLostWritesReportFailure) {
  card->InjectFault({sim::FaultKind::RejectWrites, ".11", 1});
  card->InjectFault({sim::FaultKind::LeaveUntouched, ".51", 1});
  card->InjectFault({sim::FaultKind::Throw, ".50", 1});
  EXPECT_EQ(WriteGroup(plugin, GroupOf(GroupId::Loopback), "FF", messages), WriteOutcome::Failed);
  EXPECT_EQ(WriteGroup(plugin, GroupOf(GroupId::Thresholds), std::string(432, '0'), messages),
            WriteOutcome::Failed);
  EXPECT_EQ(WriteGroup(plugin, GroupOf(GroupId::PerfClear), "", messages), WriteOutcome::Failed);
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[0], GroupOf(GroupId::Loopback).writeFailure);
  EXPECT_EQ(card->Snapshot().loopback, 0x84);
}

TEST_F(PluginFrameTest, ShortAnswerIsCaughtByTheReadLengthCheck) {
  card->InjectFault({sim::FaultKind::AnswerShort, ".12", 1, 439});
  EXPECT_FALSE(ReadGroup(GroupId::SectionOverhead));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], GroupOf(GroupId::SectionOverhead).readShort);
}

}  // namespace
}  // namespace t740::test
