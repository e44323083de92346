// t740-sim's command line.
#ifndef T740_SIM_AGENT_SIM_OPTIONS_H
#define T740_SIM_AGENT_SIM_OPTIONS_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/agent/communities.h"
#include "sim/agent/lossy_link.h"
#include "sim/agent/notify_target.h"
#include "sim/agent/usm_users.h"
#include "sim/line_event.h"

namespace t740::sim {

// Most cards one process serves, over all its agents.
constexpr size_t kServedCardsMaximum = 100000;

struct SimOptions {
  std::string ip;  // the first agent's cards' management IP; the next agents count up from it
  std::string cardAddress;
  std::vector<std::string> cards;   // every agent's cards; {cardAddress} without --cards
  std::string cardsText;            // as --cards gave them
  std::vector<std::string> agents;  // the addresses the agents listen on
  std::string eventsPath;           // --events FILE; empty: none
  std::vector<LineEvent> events;    // from it, in time order
  std::string targetsPath;          // --targets-file FILE; empty: none
  uint16_t port = 0;                // 0: a free one
  Communities communities;
  bool v2c = true;                   // false: SNMPv2c requests go unanswered
  std::vector<UsmUserEntry> users;   // SNMPv3
  LinkFaults link;                   // a lossy link in front of the agent
  std::string stateDirectory;        // where the engine boots count is kept; empty: none
  std::vector<NotifyTarget> notify;  // where alarm changes go; empty: nowhere
  std::string notifyUser;            // a --v3-users user: SNMPv3 informs; empty: v2c traps
  int informTimeoutMilliseconds = 1000;
  int informRetries = 5;
  bool help = false;
};

class SimUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws SimUsageError for an unknown option, a missing or bad value.
SimOptions ParseSimOptions(const std::vector<std::string>& words);
std::string SimHelp();

}  // namespace t740::sim

#endif
