// What each direction receives and which section alarms follow from it.
#include "sim/line_side.h"

#include <gtest/gtest.h>

#include "sim/trace.h"
#include "sim_fixture.h"

namespace t740::test {
namespace {

constexpr int kA = 0, kB = 1, kC = 2, kD = 3;

// A card with every port in service: each far end sends what its port
// expects, and nothing is looped.
sim::CardState CleanState() {
  sim::CardState state = sim::DefaultCardState();
  state.loopback = 0;
  for (sim::PortState& port : state.ports) {
    port.line = {};
    port.farEndSection.j0 = port.section.expectedJ0;
  }
  return state;
}

std::string ReceivedJ0(const std::string& sectionResponse, int port) {
  return sectionResponse.substr(6 + 120 * port, 32);
}

class LineSideTest : public SimFixture {
 protected:
  LineSideTest() { MakeCard(CleanState()); }
};

TEST_F(LineSideTest, EachDirectionReceivesWhatItsFarEndSends) {
  card->Update([](sim::CardModel& model) {
    model.State().ports[kB].farEndSection = {sim::TraceHex("FAR-B"), "12", "34", "0F"};
  });
  const std::string data = Read(".12").substr(6);
  const std::string block = data.substr(120 * kB, 120);
  EXPECT_EQ(block.substr(0, 32), sim::TraceHex("FAR-B"));
  EXPECT_EQ(block.substr(96, 2), "12");
  EXPECT_EQ(block.substr(100, 2), "34");
  EXPECT_EQ(block.substr(104, 2), "0F");
  EXPECT_EQ(ReceivedJ0(Read(".12"), kA), card->Snapshot().ports[kA].section.expectedJ0);
}

TEST_F(LineSideTest, LocalLoopbackMakesThePortReceiveItsOwnSendBytes) {
  // LLP of port C is bit 6.
  ASSERT_EQ(Write(".11", "01000040"), "1");
  const sim::CardState state = card->Snapshot();
  EXPECT_EQ(ReceivedJ0(Read(".12"), kC), state.ports[kC].section.send.j0);
  EXPECT_EQ(ReceivedJ0(Read(".12"), kB), state.ports[kB].farEndSection.j0);

  ASSERT_EQ(Write(".13", "3C0000000201"), "1");
  EXPECT_EQ(Read(".13").substr(12, 32), state.ports[kC].paths[1].send.j1);
  EXPECT_EQ(Read(".13").substr(108, 2), state.ports[kC].paths[1].send.c2);
}

TEST_F(LineSideTest, RemoteLoopbackLeavesTheReceivedSignalAlone) {
  // RLP of port C is bit 2.
  ASSERT_EQ(Write(".11", "01000004"), "1");
  EXPECT_EQ(ReceivedJ0(Read(".12"), kC), card->Snapshot().ports[kC].farEndSection.j0);
}

TEST_F(LineSideTest, TraceMismatchFollowsTheExpectedTraceWrittenToTheCard) {
  card->Update([](sim::CardModel& model) {
    model.State().ports[kD].farEndSection.j0 = sim::TraceHex("WRONG-NODE");
  });
  EXPECT_TRUE(sim::AlarmsOf(card->Snapshot(), kD).traceMismatch);

  // The operator accepts the new far end: expected J0 := received J0.
  std::string data = Read(".12").substr(6);
  std::string record;
  for (int d = 0; d < 4; ++d) {
    std::string block = data.substr(120 * d, 120);
    if (d == kD) block.replace(32, 32, block.substr(0, 32));
    record += block;
  }
  ASSERT_EQ(Write(".12", "F00000" + record), "1");
  EXPECT_FALSE(sim::AlarmsOf(card->Snapshot(), kD).traceMismatch);
}

TEST_F(LineSideTest, TraceComparisonIgnoresTheCaseTheOperatorTyped) {
  std::string data = Read(".12").substr(6);
  for (char& c : data) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ASSERT_EQ(Write(".12", "F00000" + data), "1");
  for (int port = 0; port < 4; ++port) {
    EXPECT_FALSE(sim::AlarmsOf(card->Snapshot(), port).traceMismatch) << port;
  }
}

TEST_F(LineSideTest, PulledFibreRaisesLossOfSignalAndHidesTheAlarmsAbove) {
  card->Update([](sim::CardModel& model) {
    sim::PortState& port = model.State().ports[kA];
    port.line.fibreConnected = false;
    port.line.lossOfFrame = true;
    port.farEndSection.j0 = sim::TraceHex("WRONG");
  });
  const sim::PortAlarms alarms = sim::AlarmsOf(card->Snapshot(), kA);
  EXPECT_TRUE(alarms.lossOfSignal);
  EXPECT_FALSE(alarms.lossOfFrame);
  EXPECT_FALSE(alarms.outOfFrame);
  EXPECT_FALSE(alarms.traceMismatch);
  EXPECT_EQ(ReceivedJ0(Read(".12"), kA), std::string(32, '0'));

  // Looping the port inside the card brings its own signal back.
  ASSERT_EQ(Write(".11", "01000010"), "1");
  const sim::PortAlarms looped = sim::AlarmsOf(card->Snapshot(), kA);
  EXPECT_FALSE(looped.lossOfSignal);
  EXPECT_TRUE(looped.traceMismatch);  // its own trace is not the expected far end
}

TEST_F(LineSideTest, LossOfFrameHidesTheTraceButRaisesOutOfFrame) {
  card->Update([](sim::CardModel& model) {
    model.State().ports[kB].line.lossOfFrame = true;
    model.State().ports[kB].farEndSection.j0 = sim::TraceHex("WRONG");
    model.State().ports[kC].line.outOfFrame = true;
  });
  const sim::CardState state = card->Snapshot();
  EXPECT_TRUE(sim::AlarmsOf(state, kB).lossOfFrame);
  EXPECT_TRUE(sim::AlarmsOf(state, kB).outOfFrame);
  EXPECT_FALSE(sim::AlarmsOf(state, kB).traceMismatch);
  EXPECT_TRUE(sim::AlarmsOf(state, kC).outOfFrame);
  EXPECT_FALSE(sim::AlarmsOf(state, kC).lossOfFrame);
}

TEST_F(LineSideTest, DefaultCardShowsItsDemonstrationFaults) {
  MakeCard(sim::DefaultCardState());
  const sim::CardState state = card->Snapshot();
  EXPECT_FALSE(sim::AlarmsOf(state, kA).traceMismatch);
  EXPECT_TRUE(sim::AlarmsOf(state, kB).lossOfSignal);
  EXPECT_TRUE(sim::AlarmsOf(state, kC).traceMismatch);
  EXPECT_FALSE(sim::AlarmsOf(state, kD).traceMismatch);
  EXPECT_TRUE(sim::LocalLoopback(state.loopback, kD));
  EXPECT_TRUE(sim::RemoteLoopback(state.loopback, kC));
}

}  // namespace
}  // namespace t740::test
