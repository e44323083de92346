// Runs the built t740-host as a subprocess, as an operator or a script
// would, and captures what it printed.
#ifndef T740_TESTS_HOST_RUN_HOST_H
#define T740_TESTS_HOST_RUN_HOST_H

#include <string>
#include <vector>

namespace t740::test {

struct HostRun {
  int exitStatus;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};

// `locale` goes into LC_ALL; the rest of the environment is kept, except
// that the host's state directory (XDG_STATE_HOME) is a scratch directory
// of the run and T740_HOST_DIRECTORY is unset.
HostRun RunHost(const std::vector<std::string>& arguments, const std::string& locale = "C.UTF-8");
// The same with a copy of the host elsewhere, and `extra` ("NAME=value")
// in its environment over the rest.
HostRun RunHostAt(const std::string& host, const std::vector<std::string>& arguments,
                  const std::string& locale = "C.UTF-8",
                  const std::vector<std::string>& extra = {});

std::string HostPath();

}  // namespace t740::test

#endif
