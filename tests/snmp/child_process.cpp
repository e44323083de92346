#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "spawn_arguments.h"

extern char** environ;

namespace t740::test {
namespace {

namespace fs = std::filesystem;

constexpr int kStartPatienceMilliseconds = 10000;
constexpr char kListening[] = "listening on ";
constexpr char kEngineId[] = "engine id ";
constexpr char kBoots[] = " boots ";

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool IsReplaced(const std::string& entry) {
  static const char* const kNames[] = {
      "SNMPCONFPATH=",   "SNMP_PERSISTENT_DIR=", "MIBS=", "MIBDIRS=", "TMPDIR=", "LC_ALL=",
      "XDG_STATE_HOME=", "T740_HOST_DIRECTORY="};
  for (const char* name : kNames) {
    if (entry.rfind(name, 0) == 0) return true;
  }
  return false;
}

// The test's environment, with net-snmp and the host's state directory
// pointed at `directory`.
std::vector<std::string> ChildEnvironment(const std::string& directory) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    if (!IsReplaced(*entry)) environment.push_back(*entry);
  }
  environment.push_back("SNMPCONFPATH=" + directory);
  environment.push_back("SNMP_PERSISTENT_DIR=" + directory);
  environment.push_back("MIBDIRS=" + directory);
  environment.push_back("MIBS=");
  environment.push_back("TMPDIR=" + directory);
  environment.push_back("XDG_STATE_HOME=" + directory);
  environment.push_back("LC_ALL=C.UTF-8");
  return environment;
}

// The first line the child writes on `descriptor`, or what came before the
// patience ran out.
std::string ReadLine(int descriptor, int patienceMilliseconds) {
  std::string line;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMilliseconds);
  while (line.empty() || line.back() != '\n') {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd wait{descriptor, POLLIN, 0};
    if (poll(&wait, 1, static_cast<int>(left.count())) <= 0) break;
    char c;
    if (read(descriptor, &c, 1) != 1) break;
    line += c;
  }
  return line;
}

}  // namespace

pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments,
            const std::string& directory, posix_spawn_file_actions_t* actions) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environment = ChildEnvironment(directory);
  std::vector<char*> argvPointers = SpawnPointers(argv);
  std::vector<char*> environmentPointers = SpawnPointers(environment);
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), actions, nullptr, argvPointers.data(),
                  environmentPointers.data()) != 0) {
    throw std::runtime_error("cannot start " + program);
  }
  return child;
}

pid_t SpawnLogged(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& directory, const std::string& log) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  try {
    const pid_t child = Spawn(program, arguments, directory, &actions);
    posix_spawn_file_actions_destroy(&actions);
    return child;
  } catch (...) {
    posix_spawn_file_actions_destroy(&actions);
    throw;
  }
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool AwaitInFile(const std::string& path, const std::string& text,
                 std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (ReadWholeFile(path).find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

int ExitStatusOf(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (fs::temp_directory_path() / "t740-snmp-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

bool ScratchDirectory::IsEmpty() const {
  return fs::is_empty(path_);
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  ScratchDirectory scratch;
  const std::string outPath = scratch.Path() + "/.out";
  const std::string errPath = scratch.Path() + "/.err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const pid_t child = Spawn(program, arguments, scratch.Path(), &actions);
  posix_spawn_file_actions_destroy(&actions);
  const int status = ExitStatusOf(child);
  return {status, ReadFile(outPath), ReadFile(errPath)};
}

SimAgent::SimAgent(const std::vector<std::string>& arguments) {
  errPath_ = logs_.Path() + "/err";
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath_.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> all = {"--port", "0"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  pid_ = Spawn(SimAgentPath(), all, temporary_.Path(), &actions);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  const std::string line = ReadLine(pipeEnds[0], kStartPatienceMilliseconds);
  close(pipeEnds[0]);
  const size_t at = line.find(kListening);
  if (at == std::string::npos) {
    ADD_FAILURE() << "t740-sim did not start: '" << line << "'";
    return;
  }
  // The first agent's address, then its port.
  port_ = static_cast<uint16_t>(std::stoi(line.substr(line.find(':', at) + 1)));
  const size_t engine = line.find(kEngineId);
  if (engine != std::string::npos) {
    engineId_ = line.substr(engine + sizeof kEngineId - 1);
    engineId_ = engineId_.substr(0, engineId_.find_first_of(" \n"));
  }
  const size_t boots = line.find(kBoots);
  if (boots != std::string::npos) engineBoots_ = std::stoul(line.substr(boots + sizeof kBoots - 1));
}

int StopChild(pid_t& child, int& exitStatus) {
  if (child < 0) return exitStatus;
  kill(child, SIGTERM);
  exitStatus = ExitStatusOf(child);
  child = -1;
  return exitStatus;
}

SimAgent::~SimAgent() {
  Stop();
}

std::string SimAgent::Address() const {
  return "127.0.0.1:" + std::to_string(port_);
}

int SimAgent::Stop() {
  return StopChild(pid_, exitStatus_);
}

std::string SimAgent::Errors() const {
  return ReadFile(errPath_);
}

std::string SimAgentPath() {
  return T740_SIM_AGENT;
}
std::string HostPath() {
  return T740_HOST;
}
std::string SnmpGetPath() {
  return T740_SNMPGET;
}
std::string SnmpSetPath() {
  return T740_SNMPSET;
}
std::string SnmpWalkPath() {
  return T740_SNMPWALK;
}

}  // namespace t740::test
