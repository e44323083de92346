// Misbehaviour injected into the simulated card.
#include "sim/fault.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

#include "sim_fixture.h"

namespace t740::test {
namespace {

using FaultTest = SimFixture;

TEST_F(FaultTest, ShortAnswerKeepsTheFirstCharacters) {
  card->InjectFault({sim::FaultKind::AnswerShort, ".12", -1, 439});
  EXPECT_EQ(Read(".12").size(), 439u);
  EXPECT_EQ(Read(".11"), "01000084");
}

TEST_F(FaultTest, NothingEmptiesTheResponseAndLosesTheWrite) {
  card->InjectFault({sim::FaultKind::AnswerNothing, ""});
  EXPECT_EQ(Write(".11", "010000FF"), "");
  card->ClearFaults();
  EXPECT_EQ(Read(".11"), "01000084");
}

TEST_F(FaultTest, UntouchedLeavesThePresetAndLosesTheWrite) {
  card->InjectFault({sim::FaultKind::LeaveUntouched, ".11", 1});
  EXPECT_EQ(Write(".11", "010000FF"), "preset");
  EXPECT_EQ(Read(".11"), "01000084");
}

TEST_F(FaultTest, RejectedWritesAnswerZeroAndChangeNothingWhileReadsWork) {
  card->InjectFault({sim::FaultKind::RejectWrites, ""});
  EXPECT_EQ(Write(".11", "010000FF"), "0");
  EXPECT_EQ(Write(".50", "000000"), "0");
  EXPECT_EQ(Read(".11"), "01000084");
}

TEST_F(FaultTest, ThrowLosesTheRequest) {
  card->InjectFault({sim::FaultKind::Throw, ".11", 1});
  EXPECT_THROW(Write(".11", "010000FF"), std::runtime_error);
  EXPECT_EQ(Read(".11"), "01000084");
  EXPECT_EQ(card->Requests().size(), 2u);
}

TEST_F(FaultTest, DelayAnswersLateButAnswers) {
  card->InjectFault({sim::FaultKind::Delay, "", 1, 6, 30});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Read(".11"), "01000084");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

TEST_F(FaultTest, CountedFaultsWearOffAndTargetsAreRespected) {
  card->InjectFault({sim::FaultKind::AnswerNothing, ".1", 2});
  EXPECT_EQ(Read(".11"), "01000084");
  EXPECT_EQ(Read(".1"), "");
  EXPECT_EQ(Read(".1"), "");
  EXPECT_EQ(Read(".1"), "0200002110");
}

TEST_F(FaultTest, StatusTextsSufferTheirFaults) {
  card->InjectFault({sim::FaultKind::AnswerShort, std::string(sim::kAlarmStatusTarget), -1, 61});
  card->InjectFault({sim::FaultKind::Throw, std::string(sim::kPerformanceTarget)});
  EXPECT_EQ(Status(sim::StatusKind::Alarm).size(), 61u);
  EXPECT_EQ(Status(sim::StatusKind::Led).size(), 148u);
  EXPECT_THROW(Status(sim::StatusKind::Performance), std::runtime_error);
}

TEST(FaultNamesTest, NamesMapToKinds) {
  EXPECT_EQ(sim::FaultKindNamed("reject-writes"), sim::FaultKind::RejectWrites);
  EXPECT_EQ(sim::FaultKindNamed("untouched"), sim::FaultKind::LeaveUntouched);
  EXPECT_FALSE(sim::FaultKindNamed("Short"));
}

}  // namespace
}  // namespace t740::test
