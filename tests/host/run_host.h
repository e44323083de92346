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

// `locale` goes into LC_ALL; the rest of the environment is kept.
HostRun RunHost(const std::vector<std::string>& arguments, const std::string& locale = "C.UTF-8");
// The same with a copy of the host elsewhere.
HostRun RunHostAt(const std::string& host, const std::vector<std::string>& arguments,
                  const std::string& locale = "C.UTF-8");

std::string HostPath();

}  // namespace t740::test

#endif
