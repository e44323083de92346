#include "sim/agent/network.h"

#include "sim/agent/agent_addresses.h"
#include "sim/card_profile.h"
#include "sim/default_card.h"

namespace t740::sim {
namespace {

std::unique_ptr<SimulatedCard> MakeCard(const NetworkAgent& agent, const std::string& card,
                                        bool showcase) {
  CardIdentity identity{agent.managementIp, card};
  if (showcase) {
    return std::make_unique<SimulatedCard>(identity, DefaultCardState(), WallClock(),
                                           kDefaultUptimeSeconds);
  }
  return std::make_unique<SimulatedCard>(identity, NetworkCardState(agent.address, card),
                                         WallClock(), kNetworkUptimeSeconds);
}

}  // namespace

Network BuildNetwork(const std::vector<std::string>& addresses, const std::string& firstIp,
                     const std::vector<std::string>& cards) {
  Network network;
  for (size_t k = 0; k < addresses.size(); ++k) {
    auto agent = std::make_unique<NetworkAgent>();
    agent->address = addresses[k];
    agent->managementIp = OffsetAddress(firstIp, static_cast<uint32_t>(k));
    for (size_t i = 0; i < cards.size(); ++i) {
      agent->shelf.Add(MakeCard(*agent, cards[i], k == 0 && i == 0));
    }
    network.push_back(std::move(agent));
  }
  return network;
}

SimulatedCard* CardOfEvent(Network& network, const LineEvent& event) {
  for (auto& agent : network) {
    if (agent->address == event.agent) return agent->shelf.Card(event.card);
  }
  return nullptr;
}

}  // namespace t740::sim
