#include "run_host.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "spawn_arguments.h"

extern char** environ;

namespace t740::test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string NameOf(const std::string& entry) {
  return entry.substr(0, entry.find('='));
}

// One entry per name: `chosen` over the inherited environment, without
// the inherited LANG and T740_HOST_DIRECTORY.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& chosen) {
  std::set<std::string> named;
  std::vector<std::string> environment;
  auto add = [&](const std::string& entry) {
    if (named.insert(NameOf(entry)).second) environment.push_back(entry);
  };
  for (const std::string& entry : chosen) add(entry);
  named.insert({"LANG", "T740_HOST_DIRECTORY"});
  for (char** entry = environ; *entry; ++entry) add(*entry);
  return environment;
}

}  // namespace

std::string HostPath() {
  return T740_HOST;
}

HostRun RunHost(const std::vector<std::string>& arguments, const std::string& locale) {
  return RunHostAt(HostPath(), arguments, locale);
}

HostRun RunHostAt(const std::string& host, const std::vector<std::string>& arguments,
                  const std::string& locale, const std::vector<std::string>& extra) {
  char directory[] = "/tmp/t740-host-run-XXXXXX";
  if (!mkdtemp(directory)) throw std::runtime_error("mkdtemp");
  const std::string outPath = std::string(directory) + "/out";
  const std::string errPath = std::string(directory) + "/err";

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> argv = {host};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> chosen = extra;
  chosen.push_back("LC_ALL=" + locale);
  chosen.push_back("XDG_STATE_HOME=" + std::string(directory) + "/state");
  std::vector<std::string> environment = EnvironmentWith(chosen);
  std::vector<char*> argvPointers = SpawnPointers(argv);
  std::vector<char*> environmentPointers = SpawnPointers(environment);

  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0].c_str(), &actions, nullptr, argvPointers.data(),
                                  environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + argv[0]);
  int status = 0;
  waitpid(child, &status, 0);

  HostRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(outPath), ReadFile(errPath)};
  std::filesystem::remove_all(directory);
  return run;
}

}  // namespace t740::test
