// The SNMPv2c communities the simulated card's agent answers: the read
// community may read, the write community may read and write.
#ifndef T740_SIM_AGENT_COMMUNITIES_H
#define T740_SIM_AGENT_COMMUNITIES_H

#include <string>
#include <string_view>

namespace t740::sim {

struct Communities {
  std::string read;
  std::string write;

  bool MayRead(std::string_view community) const { return community == read || community == write; }
  bool MayWrite(std::string_view community) const { return community == write; }
};

}  // namespace t740::sim

#endif
