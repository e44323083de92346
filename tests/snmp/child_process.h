// The programs of the SNMP end-to-end tests as child processes: t740-sim
// serving a card until it is stopped, and one-shot runs of t740-host and of
// the snmp tools with what they printed. Every child gets an environment in
// which net-snmp reads no system configuration and keeps its state in a
// directory of the test's own.
#ifndef T740_TESTS_SNMP_CHILD_PROCESS_H
#define T740_TESTS_SNMP_CHILD_PROCESS_H

#include <spawn.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace t740::test {

struct ProgramRun {
  int exitStatus;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};

// A temporary directory, removed with everything in it at the end.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::string& Path() const { return path_; }
  bool IsEmpty() const;

 private:
  std::string path_;
};

// Starts `program` in the environment every child gets, its state kept in
// `directory`; throws std::runtime_error when it cannot.
pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments,
            const std::string& directory, posix_spawn_file_actions_t* actions);
// As Spawn, with no input and both output streams appended to `log`.
pid_t SpawnLogged(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& directory, const std::string& log);
// The whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Waits up to `patience` for `text` to appear in the file at `path`.
bool AwaitInFile(const std::string& path, const std::string& text,
                 std::chrono::milliseconds patience);
// Waits for the child to end: its exit status, -1 when it did not exit
// normally.
int ExitStatusOf(pid_t child);
// Ends a child that still runs (pid above 0) with SIGTERM and keeps its exit
// status; later calls give the kept status.
int StopChild(pid_t& child, int& exitStatus);

// Runs the program to its end.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// t740-sim on a free port of 127.0.0.1, started with `arguments`; stopped
// by SIGTERM at the latest when the object goes.
class SimAgent {
 public:
  // Waits until the (first) agent has said where it listens; fails the
  // test (and leaves Port() 0) when it does not within a few seconds.
  explicit SimAgent(const std::vector<std::string>& arguments = {});
  ~SimAgent();
  SimAgent(const SimAgent&) = delete;
  SimAgent& operator=(const SimAgent&) = delete;

  uint16_t Port() const { return port_; }
  // "127.0.0.1:<port>"
  std::string Address() const;
  // The engine id it printed, "0x..."
  const std::string& EngineId() const { return engineId_; }
  // The snmpEngineBoots it printed after the id, 0 when it printed none.
  unsigned long EngineBoots() const { return engineBoots_; }
  // Sends SIGTERM and waits; the exit status, or -1 when it did not exit
  // normally. Later calls give the same.
  int Stop();
  // What it printed on stderr, once stopped.
  std::string Errors() const;
  // Where its temporary files went (its TMPDIR).
  const ScratchDirectory& Temporary() const { return temporary_; }

 private:
  ScratchDirectory temporary_;
  ScratchDirectory logs_;
  pid_t pid_ = -1;
  uint16_t port_ = 0;
  std::string engineId_;
  unsigned long engineBoots_ = 0;
  int exitStatus_ = -1;
  std::string errPath_;
};

std::string SimAgentPath();
std::string HostPath();
std::string SnmpGetPath();
std::string SnmpSetPath();
std::string SnmpWalkPath();

}  // namespace t740::test

#endif
