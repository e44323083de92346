#include "sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace t740::bench {
namespace {

constexpr int kStartPatienceMilliseconds = 10000;

[[noreturn]] void Fail(const char* benchmark, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", benchmark, what.c_str());
  std::exit(1);
}

}  // namespace

SimProcess::SimProcess(const char* benchmark, std::vector<std::string> arguments) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) Fail(benchmark, "pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  arguments.insert(arguments.begin(), {T740_SIM_AGENT, "--port", "0"});
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    Fail(benchmark, "cannot start t740-sim");
  }
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  output_ = ends[0];
  std::string line;
  char c;
  pollfd wait{output_, POLLIN, 0};
  while (poll(&wait, 1, kStartPatienceMilliseconds) > 0 && read(output_, &c, 1) == 1 && c != '\n') {
    line += c;
  }
  // "... listening on 127.0.0.1:PORT engine id 0x..."
  const size_t at = line.find("listening on ");
  if (at == std::string::npos) Fail(benchmark, "t740-sim did not start: " + line);
  port_ = static_cast<uint16_t>(std::atoi(line.c_str() + line.find(':', at) + 1));
}

SimProcess::~SimProcess() {
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  close(output_);
}

}  // namespace t740::bench
