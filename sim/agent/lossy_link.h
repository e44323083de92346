// A lossy network between managers and the card's agent, on demand: a UDP
// relay on the agent's address in front of the agent that loses a share of the
// requests, loses a share of the answers (after the agent applied the
// request, so a SET took effect but its sender hears nothing), delays
// answers with jitter, sends requests twice, and now and then stops
// passing anything for a while. It runs in a thread of its own and touches
// nothing of net-snmp.
#ifndef T740_SIM_AGENT_LOSSY_LINK_H
#define T740_SIM_AGENT_LOSSY_LINK_H

#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace t740::sim {

struct LinkFaults {
  int loseRequestsPercent = 0;
  int loseAnswersPercent = 0;
  int duplicatePercent = 0;
  int delayMilliseconds = 0;   // every answer
  int jitterMilliseconds = 0;  // up to this much more, at random
  int stallEvery = 0;          // every so many requests ...
  int stallMilliseconds = 0;   // ... nothing passes for this long
  unsigned seed = 1;

  bool Any() const;
};

class LossyLink {
 public:
  // Listens on `ip`:`port` (0: a free one) and relays to the agent at
  // `ip`:`agentPort`. Throws std::runtime_error when it cannot.
  LossyLink(const LinkFaults& faults, const std::string& ip, uint16_t port, uint16_t agentPort);
  ~LossyLink();
  LossyLink(const LossyLink&) = delete;
  LossyLink& operator=(const LossyLink&) = delete;

  uint16_t Port() const;

 private:
  struct Relay;
  std::unique_ptr<Relay> relay_;
  std::thread thread_;
};

}  // namespace t740::sim

#endif
