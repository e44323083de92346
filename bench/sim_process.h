// t740-sim started by a benchmark on a free port (--port 0 before the
// given arguments), for the length of the run: its first console line
// tells the port every agent listens on. Stopped by SIGTERM at the end.
#ifndef T740_BENCH_SIM_PROCESS_H
#define T740_BENCH_SIM_PROCESS_H

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "logged_process.h"

namespace t740::bench {

class SimProcess {
 public:
  // Exits the benchmark, naming `benchmark`, when t740-sim does not start.
  SimProcess(const char* benchmark, std::vector<std::string> arguments);

  pid_t Pid() const { return process_.Pid(); }
  uint16_t Port() const { return port_; }

 private:
  LoggedProcess process_;
  uint16_t port_ = 0;
};

}  // namespace t740::bench

#endif
