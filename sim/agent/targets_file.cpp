#include "sim/agent/targets_file.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace t740::sim {

// Addresses and card addresses are digits and dots: nothing to escape.
std::string TargetsDocument(const std::vector<ServedCard>& cards) {
  std::string document = "[";
  for (size_t i = 0; i < cards.size(); ++i) {
    const ServedCard& card = cards[i];
    document += (i == 0 ? "\n" : ",\n");
    document += "  {\"targets\": [\"" + card.address + ":" + std::to_string(card.port) +
                "\"], \"labels\": {\"card\": \"" + card.card + "\"}}";
  }
  return document + "\n]\n";
}

void WriteTargetsFile(const std::string& path, const std::vector<ServedCard>& cards) {
  const std::string temporary = path + ".tmp-" + std::to_string(getpid());
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << TargetsDocument(cards);
    file.flush();
    if (!file) {
      std::remove(temporary.c_str());
      throw std::runtime_error("cannot write the targets file " + path);
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    throw std::runtime_error("cannot write the targets file " + path);
  }
}

}  // namespace t740::sim
