#include "run_host.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace t740::test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> EnvironmentWith(const std::string& locale) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    if (text.rfind("LC_ALL=", 0) == 0 || text.rfind("LANG=", 0) == 0) continue;
    environment.push_back(text);
  }
  environment.push_back("LC_ALL=" + locale);
  return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::string HostPath() {
  return T740_HOST;
}

HostRun RunHost(const std::vector<std::string>& arguments, const std::string& locale) {
  return RunHostAt(HostPath(), arguments, locale);
}

HostRun RunHostAt(const std::string& host, const std::vector<std::string>& arguments,
                  const std::string& locale) {
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
  std::vector<std::string> environment = EnvironmentWith(locale);
  std::vector<char*> argvPointers = Pointers(argv);
  std::vector<char*> environmentPointers = Pointers(environment);

  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0].c_str(), &actions, nullptr, argvPointers.data(),
                                  environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + argv[0]);
  int status = 0;
  waitpid(child, &status, 0);

  HostRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(outPath), ReadFile(errPath)};
  unlink(outPath.c_str());
  unlink(errPath.c_str());
  rmdir(directory);
  return run;
}

}  // namespace t740::test
