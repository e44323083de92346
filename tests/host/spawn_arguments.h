// The argument and environment arrays that posix_spawn takes.
#ifndef T740_TESTS_HOST_SPAWN_ARGUMENTS_H
#define T740_TESTS_HOST_SPAWN_ARGUMENTS_H

#include <string>
#include <vector>

namespace t740::test {

// Pointers to the texts, then a null pointer; valid while `texts` is
// neither changed nor gone.
std::vector<char*> SpawnPointers(std::vector<std::string>& texts);

}  // namespace t740::test

#endif
