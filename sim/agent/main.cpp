// t740-sim: one simulated t740 card as an SNMP agent on the loopback
// address, until SIGTERM or SIGINT.
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "sim/agent/card_objects.h"
#include "sim/agent/engine_boots.h"
#include "sim/agent/lossy_link.h"
#include "sim/agent/master_agent.h"
#include "sim/agent/sim_options.h"
#include "sim/agent/stop_signal.h"
#include "sim/default_card.h"
#include "sim/simulated_card.h"

namespace {

constexpr char kProgram[] = "t740-sim";
enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

uint32_t EngineBoots(const t740::sim::SimOptions& options) {
  if (options.stateDirectory.empty()) return t740::sim::ClockEngineBoots(std::time(nullptr));
  return t740::sim::NextStoredEngineBoots(options.stateDirectory);
}

int Serve(const t740::sim::SimOptions& options) {
  using namespace t740::sim;
  StopSignal stop;
  SimulatedCard card(CardIdentity{options.ip, options.cardAddress}, DefaultCardState(), WallClock(),
                     kDefaultUptimeSeconds);
  CardObjects objects(card);
  const AgentAccess access{options.communities, options.v2c, options.users,
                           "t740-" + options.cardAddress + "@" + options.ip, EngineBoots(options)};
  // With a lossy link the agent takes a free port behind it.
  const bool lossy = options.link.Any();
  MasterAgent agent(objects, access, lossy ? 0 : options.port);
  std::optional<LossyLink> link;
  if (lossy) link.emplace(options.link, options.port, agent.Port());
  std::cout << kProgram << ": card " << options.cardAddress << " at " << options.ip
            << " listening on 127.0.0.1:" << (link ? link->Port() : agent.Port()) << " engine id 0x"
            << agent.EngineId() << " boots " << agent.EngineBoots() << (link ? " (lossy link)" : "")
            << std::endl;
  agent.RunUntilReadable(stop.Descriptor());
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const auto options =
        t740::sim::ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::cout << t740::sim::SimHelp();
      return kExitOk;
    }
    return Serve(options);
  } catch (const t740::sim::SimUsageError& error) {
    std::cerr << kProgram << ": " << error.what() << "\nTry '" << kProgram << " --help'.\n";
    return kExitUsage;
  } catch (const std::exception& error) {
    std::cerr << kProgram << ": " << error.what() << "\n";
    return kExitFailure;
  }
}
