#include "spawn_arguments.h"

namespace t740::test {

std::vector<char*> SpawnPointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace t740::test
