// The process-wide request function bound to one simulated card, called
// from several threads as the plug-in's poll worker and its window do.
#include "sim/request_binding.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "sim_fixture.h"

namespace t740::test {
namespace {

using BindingTest = SimFixture;

std::string Call(RequestFunction function, int operation, const std::string& oid,
                 const std::string& value = "") {
  CText response("untouched");
  function(operation, CText(sim::kDefaultIp), CText(oid), CText("1"), CText(value), &response);
  return std::string(response.view());
}

TEST_F(BindingTest, ForwardsToTheBoundCardAndLogsTheArguments) {
  RequestFunction function = sim::BindRequestFunction(*card);
  EXPECT_EQ(Call(function, 0, Oid(Operation::Read, ".1")), "0200002110");
  EXPECT_EQ(Call(function, 1, Oid(Operation::Write, ".11"), "01000001"), "1");
  const std::vector<sim::LoggedRequest> log = card->Requests();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].operation, 1);
  EXPECT_EQ(log[1].ip, sim::kDefaultIp);
  EXPECT_EQ(log[1].oid, Oid(Operation::Write, ".11"));
  EXPECT_EQ(log[1].one, "1");
  EXPECT_EQ(log[1].value, "01000001");
}

TEST_F(BindingTest, ADestroyedCardIsUnboundAndItsCallersGetNothing) {
  RequestFunction function = sim::BindRequestFunction(*card);
  const std::string oid = Oid(Operation::Read, ".1");
  card.reset();
  EXPECT_EQ(Call(function, 0, oid), "");
}

TEST_F(BindingTest, ConcurrentCallersEachGetAWholeAnswer) {
  RequestFunction function = sim::BindRequestFunction(*card);
  const std::string readSection = Oid(Operation::Read, ".12");
  const std::string writeLoopback = Oid(Operation::Write, ".11");
  std::atomic<int> bad{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        if (t % 2 == 0) {
          if (Call(function, 0, readSection).size() != 486) ++bad;
        } else if (Call(function, 1, writeLoopback, i % 2 ? "010000F0" : "0100000F") != "1") {
          ++bad;
        }
        now += 1;  // the clock moves under the callers too
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(bad.load(), 0);
  EXPECT_EQ(card->Requests().size(), 800u);
}

}  // namespace
}  // namespace t740::test
