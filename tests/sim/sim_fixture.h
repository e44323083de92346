// A simulated card on a clock the test moves, and requests to it as the
// plug-in makes them.
#ifndef T740_TESTS_SIM_SIM_FIXTURE_H
#define T740_TESTS_SIM_SIM_FIXTURE_H

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/card/card_address.h"
#include "sim/default_card.h"
#include "sim/simulated_card.h"

namespace t740::test {

class SimFixture : public ::testing::Test {
 protected:
  // A quarter-hour boundary, so that tests can count whole periods.
  static constexpr int64_t kStart = 1'700'000'100;

  SimFixture() { MakeCard(sim::DefaultCardState()); }

  void MakeCard(sim::CardState state, std::string cardAddress = sim::kDefaultCardAddress) {
    card.reset();
    address = std::move(cardAddress);
    card = std::make_unique<sim::SimulatedCard>(sim::CardIdentity{sim::kDefaultIp, address},
                                                std::move(state), [this] { return now.load(); });
  }

  std::string Oid(Operation operation, std::string_view suffix) const {
    return BuildCardOid(address, operation, suffix);
  }

  std::string Request(int operation, std::string_view oid, std::string_view value = "",
                      std::string_view preset = "", std::string_view ip = sim::kDefaultIp) {
    CText response(preset);
    card->Request(operation, CText(ip), CText(oid), CText("1"), CText(value), &response);
    return std::string(response.view());
  }

  std::string Read(std::string_view suffix) { return Request(0, Oid(Operation::Read, suffix)); }
  std::string Write(std::string_view suffix, std::string_view value) {
    return Request(1, Oid(Operation::Write, suffix), value, "preset");
  }

  std::string Status(sim::StatusKind kind) {
    return card->FetchStatus(kind, sim::kDefaultIp, address);
  }

  sim::PortPerformance Performance(int port) {
    sim::PortPerformance copy;
    card->Update([&](sim::CardModel& model) { copy = model.Performance().Port(port); });
    return copy;
  }

  std::atomic<int64_t> now{kStart};
  std::string address;
  std::unique_ptr<sim::SimulatedCard> card;
};

}  // namespace t740::test

#endif
