#include "logged_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace t740::bench {
namespace {

constexpr auto kStartPatience = std::chrono::seconds(10);

[[noreturn]] void Fail(const char* benchmark, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", benchmark, what.c_str());
  std::exit(1);
}

}  // namespace

LoggedProcess::LoggedProcess(const char* benchmark, const std::vector<std::string>& argv,
                             const std::string& marker) {
  char pattern[] = "/tmp/t740-bench-XXXXXX";
  if (!mkdtemp(pattern)) Fail(benchmark, "cannot make a temporary directory");
  directory_ = pattern;
  const std::string log = directory_ + "/log";
  std::vector<std::string> words = argv;
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  const int spawned = posix_spawnp(&pid_, pointers[0], &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) Fail(benchmark, "cannot start " + argv[0]);
  if (marker.empty()) return;
  const auto deadline = std::chrono::steady_clock::now() + kStartPatience;
  for (;;) {
    const std::string text = Log();
    const size_t at = text.find(marker);
    const size_t end = at == std::string::npos ? at : text.find('\n', at);
    if (end != std::string::npos) {
      afterMarker_ = text.substr(at + marker.size(), end - at - marker.size());
      return;
    }
    if (std::chrono::steady_clock::now() > deadline || waitpid(pid_, nullptr, WNOHANG) == pid_) {
      Fail(benchmark, argv[0] + " did not start: " + text);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

LoggedProcess::~LoggedProcess() {
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  unlink((directory_ + "/log").c_str());
  rmdir(directory_.c_str());
}

std::string LoggedProcess::Log() const {
  std::ifstream file(directory_ + "/log");
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace t740::bench
