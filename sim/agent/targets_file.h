// Every served card as a Prometheus file-based service discovery document:
// one group per card, its agent's address and port as the target and the
// card address as the label "card":
//
//   [{"targets": ["127.0.0.2:1161"], "labels": {"card": "0103"}}, ...]
//
// Written beside the file and renamed over it, so a reader finds the old
// document or the whole new one.
#ifndef T740_SIM_AGENT_TARGETS_FILE_H
#define T740_SIM_AGENT_TARGETS_FILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace t740::sim {

struct ServedCard {
  std::string address;  // the agent's, in 127.0.0.0/8
  uint16_t port;
  std::string card;
};

std::string TargetsDocument(const std::vector<ServedCard>& cards);
// Throws std::runtime_error naming the file when it cannot be written.
void WriteTargetsFile(const std::string& path, const std::vector<ServedCard>& cards);

}  // namespace t740::sim

#endif
