// t740-sim: simulated t740 cards as SNMP agents on loopback addresses, one
// card by default or a network of shelves, until SIGTERM or SIGINT.
#include <sys/resource.h>

#include <ctime>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "sim/agent/alarm_watch.h"
#include "sim/agent/engine_boots.h"
#include "sim/agent/event_schedule.h"
#include "sim/agent/lossy_link.h"
#include "sim/agent/master_agent.h"
#include "sim/agent/network.h"
#include "sim/agent/notifier.h"
#include "sim/agent/sim_options.h"
#include "sim/agent/stop_signal.h"
#include "sim/agent/targets_file.h"

namespace {

using namespace t740::sim;

constexpr char kProgram[] = "t740-sim";
enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };
// Descriptors beside the agents' sockets: the library's, the relays'
// upstream sockets, the standard streams.
constexpr rlim_t kSpareDescriptors = 64;

uint32_t EngineBoots(const SimOptions& options) {
  if (options.stateDirectory.empty()) return ClockEngineBoots(std::time(nullptr));
  return NextStoredEngineBoots(options.stateDirectory);
}

// Each agent a socket, two with a lossy link: takes what the hard limit
// allows and refuses a network that does not fit.
void AllowDescriptors(const SimOptions& options) {
  const rlim_t needed = options.agents.size() * (options.link.Any() ? 2 : 1) + kSpareDescriptors;
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  if (limit.rlim_cur >= needed) return;
  limit.rlim_cur = std::min(limit.rlim_max, needed);
  setrlimit(RLIMIT_NOFILE, &limit);
  if (limit.rlim_cur < needed) {
    throw SimUsageError("--agents: " + std::to_string(options.agents.size()) +
                        " agents need more open files than the limit of " +
                        std::to_string(limit.rlim_max));
  }
}

// Every event with its card; an event for a card the network does not
// serve is refused with its line.
std::vector<ScheduledEvent> Schedule(const SimOptions& options, Network& network) {
  std::vector<ScheduledEvent> scheduled;
  for (const LineEvent& event : options.events) {
    SimulatedCard* card = CardOfEvent(network, event);
    if (!card) {
      throw SimUsageError("--events " + options.eventsPath + ": line " +
                          std::to_string(event.lineNumber) + ": no card " + event.card + " at " +
                          event.agent);
    }
    scheduled.push_back({event, card});
  }
  return scheduled;
}

std::vector<AgentEndpoint> Endpoints(const SimOptions& options, Network& network) {
  std::vector<AgentEndpoint> endpoints;
  for (auto& agent : network) {
    endpoints.push_back({agent->address,
                         "t740-" + options.cards.front() + "@" + agent->managementIp,
                         &agent->shelf});
  }
  return endpoints;
}

// A relay in front of each agent, all on one port as the agents are.
std::vector<std::unique_ptr<LossyLink>> Relays(const SimOptions& options, const Network& network,
                                               uint16_t agentPort) {
  std::vector<std::unique_ptr<LossyLink>> links;
  uint16_t port = options.port;
  for (const auto& agent : network) {
    try {
      links.push_back(std::make_unique<LossyLink>(options.link, agent->address, port, agentPort));
    } catch (const std::runtime_error& error) {
      throw ListenError(error.what());
    }
    port = links.front()->Port();
  }
  return links;
}

std::string CardsText(const SimOptions& options) {
  if (options.cards.size() == 1) return "card " + options.cards.front();
  return "cards " + options.cardsText;
}

std::vector<ServedCard> Served(const Network& network, uint16_t port) {
  std::vector<ServedCard> served;
  for (const auto& agent : network) {
    for (const std::string& card : agent->shelf.CardAddresses()) {
      served.push_back({agent->address, port, card});
    }
  }
  return served;
}

NotifySettings NotifySettingsOf(const SimOptions& options, const Network& network) {
  NotifySettings settings{options.notify,        options.communities.read,
                          std::nullopt,          options.informTimeoutMilliseconds,
                          options.informRetries, {}};
  for (const auto& agent : network) settings.agentOf[agent->managementIp] = agent->address;
  for (const UsmUserEntry& user : options.users) {
    if (user.name == options.notifyUser) settings.user = user;
  }
  return settings;
}

// Every change of a card is looked at: its events and the SETs of its
// shelf. Nothing to look at without anyone to tell.
std::function<void(SimulatedCard&)> WatchChanges(const SimOptions& options, Network& network,
                                                 AlarmWatch& watch) {
  if (options.notify.empty()) return {};
  auto look = [&watch](SimulatedCard& card) { watch.Look(card); };
  for (auto& agent : network) agent->shelf.OnChange(look);
  return look;
}

// The alarms present at the start, as changes from none.
void LookAtEveryCard(Network& network, const std::function<void(SimulatedCard&)>& look) {
  if (!look) return;
  for (auto& agent : network) {
    for (const std::string& card : agent->shelf.CardAddresses()) look(*agent->shelf.Card(card));
  }
}

int Serve(const SimOptions& options) {
  AllowDescriptors(options);
  StopSignal stop;
  Network network = BuildNetwork(options.agents, options.ip, options.cards);
  std::vector<ScheduledEvent> events = Schedule(options, network);
  NotificationQueue notifications;
  AlarmWatch watch(notifications);
  const auto changed = WatchChanges(options, network, watch);
  const AgentAccess access{options.communities, options.v2c, options.users, EngineBoots(options)};
  // With a lossy link the agents take a free port behind it.
  const bool lossy = options.link.Any();
  MasterAgent agent(Endpoints(options, network), access, lossy ? 0 : options.port);
  const auto links =
      lossy ? Relays(options, network, agent.Port()) : std::vector<std::unique_ptr<LossyLink>>{};
  const uint16_t port = lossy ? links.front()->Port() : agent.Port();
  const auto notifier = changed ? std::make_unique<Notifier>(NotifySettingsOf(options, network),
                                                             notifications, std::cerr)
                                : nullptr;
  LookAtEveryCard(network, changed);
  // Before the console lines, so that whoever waits for them finds it.
  if (!options.targetsPath.empty()) WriteTargetsFile(options.targetsPath, Served(network, port));
  for (size_t k = 0; k < network.size(); ++k) {
    std::cout << kProgram << ": " << CardsText(options) << " at " << network[k]->managementIp
              << " listening on " << network[k]->address << ":" << port << " engine id 0x"
              << agent.EngineId(k) << " boots " << agent.EngineBoots()
              << (lossy ? " (lossy link)" : "") << "\n";
  }
  std::cout << std::flush;
  EventSchedule schedule(std::move(events), std::cerr, changed);
  agent.RunUntilReadable(stop.Descriptor());
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const auto options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::cout << SimHelp();
      return kExitOk;
    }
    return Serve(options);
  } catch (const SimUsageError& error) {
    std::cerr << kProgram << ": " << error.what() << "\nTry '" << kProgram << " --help'.\n";
    return kExitUsage;
  } catch (const ListenError& error) {
    std::cerr << kProgram << ": " << error.what() << "\n";
    return kExitUsage;
  } catch (const std::exception& error) {
    std::cerr << kProgram << ": " << error.what() << "\n";
    return kExitFailure;
  }
}
