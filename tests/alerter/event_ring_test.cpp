// The long poll's ring: what follows a number, and a reload for a number
// the ring has dropped or never gave.
#include <gtest/gtest.h>

#include <thread>

#include "alerter/desk/event_ring.h"

namespace t740::alerter {
namespace {

std::vector<LogEntry> Entries(std::vector<std::string> cards) {
  std::vector<LogEntry> entries;
  for (const std::string& card : cards) {
    LogEntry entry;
    entry.card = card;
    entries.push_back(entry);
  }
  return entries;
}

std::vector<std::string> Cards(const EventPage& page) {
  std::vector<std::string> cards;
  for (const DeskEvent& event : page.events) cards.push_back(event.entry.card);
  return cards;
}

TEST(EventRingTest, TellsWhatFollowsANumberItStillHolds) {
  EventRing ring(3);
  EXPECT_FALSE(ring.After(0).reset);
  EXPECT_TRUE(ring.After(0).events.empty());
  ring.Add(Entries({"01", "02"}));
  ring.Add(Entries({"03", "04", "05"}));

  const EventPage page = ring.After(3);
  EXPECT_FALSE(page.reset);
  EXPECT_EQ(page.seq, 5u);
  EXPECT_EQ(Cards(page), (std::vector<std::string>{"04", "05"}));
  ASSERT_EQ(page.events.size(), 2u);
  EXPECT_EQ(page.events.front().seq, 4u);
  EXPECT_EQ(Cards(ring.After(2)), (std::vector<std::string>{"03", "04", "05"}));
  EXPECT_TRUE(ring.After(5).events.empty());
  EXPECT_FALSE(ring.After(5).reset);
}

TEST(EventRingTest, ResetsANumberDroppedOrFromAnotherLife) {
  EventRing ring(3);
  ring.Add(Entries({"01", "02", "03", "04", "05"}));
  for (uint64_t stale : {0, 1, 6, 1000}) {
    const EventPage page = ring.After(stale);
    EXPECT_TRUE(page.reset) << stale;
    EXPECT_TRUE(page.events.empty()) << stale;
    EXPECT_EQ(page.seq, 5u) << stale;
  }
}

TEST(EventRingTest, AWaitEndsWithAnEventOrAGoneClient) {
  EventRing ring;
  const auto far = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  EXPECT_TRUE(ring.Await(0, far, [] { return true; }).events.empty());

  std::thread adder([&] { ring.Add(Entries({"01"})); });
  const EventPage page = ring.Await(
      0, far, [] { return false; }, std::chrono::milliseconds(10));
  adder.join();
  EXPECT_EQ(Cards(page), (std::vector<std::string>{"01"}));
}

}  // namespace
}  // namespace t740::alerter
