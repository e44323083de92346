// t740-sim started by a benchmark on a free port (--port 0 before the
// given arguments), for the length of the run: its first console line
// tells the port every agent listens on. Stopped by SIGTERM at the end.
#ifndef T740_BENCH_SIM_PROCESS_H
#define T740_BENCH_SIM_PROCESS_H

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace t740::bench {

class SimProcess {
 public:
  // Exits the benchmark, naming `benchmark`, when t740-sim does not start.
  SimProcess(const char* benchmark, std::vector<std::string> arguments);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  pid_t Pid() const { return pid_; }
  uint16_t Port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int output_ = -1;  // kept open: its later lines are not read, and must not fail
  uint16_t port_ = 0;
};

}  // namespace t740::bench

#endif
