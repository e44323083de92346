// t740-exporter as a child process on a free port of 127.0.0.1, its log
// kept in a file; stopped by SIGTERM at the latest when the object goes.
#ifndef T740_TESTS_EXPORTER_EXPORTER_PROCESS_H
#define T740_TESTS_EXPORTER_EXPORTER_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace t740::test {

class ExporterProcess {
 public:
  // Waits a few seconds at most for its "listening" line; fails the test
  // (and leaves Port() 0) when it does not come.
  explicit ExporterProcess(const std::vector<std::string>& arguments);
  ~ExporterProcess();
  ExporterProcess(const ExporterProcess&) = delete;
  ExporterProcess& operator=(const ExporterProcess&) = delete;

  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  void Signal(int signal) const;
  // SIGTERM, then its exit status (-1 when it did not exit normally).
  int Stop();
  std::string Log() const;
  // Waits a few seconds at most for `text` to appear in the log.
  bool WaitForLog(const std::string& text) const;

 private:
  ScratchDirectory logs_;
  pid_t pid_ = -1;
  int port_ = 0;
  int exitStatus_ = -1;
};

// An exporter configuration in a file of its own.
class ConfigFile {
 public:
  explicit ConfigFile(const std::string& text) { Write(text); }
  void Write(const std::string& text) const;
  // A file beside it that only its owner may read; its path.
  std::string Beside(const std::string& name, const std::string& text) const;
  const std::string& Path() const { return path_; }

 private:
  ScratchDirectory scratch_;
  std::string path_ = scratch_.Path() + "/exporter.yml";
};

// A web configuration in `directory` serving TLS with a fresh self-signed
// certificate, `more` appended to it; its path. Empty when openssl fails.
std::string WriteTlsWebConfig(const std::string& directory, const std::string& more = "");

// The sample's value in a Prometheus exposition, or -1 when it has no such
// line.
double Sample(const std::string& exposition, const std::string& series);

std::string ExporterPath();
std::string PluginPath();

}  // namespace t740::test

#endif
