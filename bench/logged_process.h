// A program a benchmark starts for the length of its run, found on PATH
// when not named by a path, its output and error streams in a log file of a
// temporary directory: the constructor waits for the line that says where
// it listens. Stopped by SIGTERM at the end.
#ifndef T740_BENCH_LOGGED_PROCESS_H
#define T740_BENCH_LOGGED_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace t740::bench {

class LoggedProcess {
 public:
  // Exits the benchmark, naming `benchmark`, when the program does not
  // start or does not log `marker` within ten seconds; an empty marker is
  // not waited for.
  LoggedProcess(const char* benchmark, const std::vector<std::string>& argv,
                const std::string& marker);
  ~LoggedProcess();
  LoggedProcess(const LoggedProcess&) = delete;
  LoggedProcess& operator=(const LoggedProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // The rest of the line after the marker's first appearance.
  const std::string& AfterMarker() const { return afterMarker_; }
  std::string Log() const;

 private:
  std::string directory_;
  pid_t pid_ = -1;
  std::string afterMarker_;
};

}  // namespace t740::bench

#endif
