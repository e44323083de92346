#include "exporter_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace t740::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(10);
constexpr char kListening[] = "msg=listening address=127.0.0.1:";

}  // namespace

ExporterProcess::ExporterProcess(const std::vector<std::string>& arguments) {
  const std::string log = logs_.Path() + "/log";
  std::vector<std::string> all = {"--web.listen-address", "127.0.0.1:0", "--plugin", PluginPath()};
  all.insert(all.end(), arguments.begin(), arguments.end());
  try {
    pid_ = SpawnLogged(ExporterPath(), all, logs_.Path(), log);
  } catch (const std::runtime_error& error) {
    ADD_FAILURE() << error.what();
  }
  if (pid_ < 0) return;
  if (!WaitForLog(kListening)) {
    ADD_FAILURE() << "t740-exporter did not start: " << Log();
    return;
  }
  const std::string text = Log();
  port_ = std::stoi(text.substr(text.find(kListening) + sizeof kListening - 1));
}

ExporterProcess::~ExporterProcess() {
  Stop();
}

void ExporterProcess::Signal(int signal) const {
  if (pid_ > 0) kill(pid_, signal);
}

int ExporterProcess::Stop() {
  return StopChild(pid_, exitStatus_);
}

std::string ExporterProcess::Log() const {
  return ReadWholeFile(logs_.Path() + "/log");
}

bool ExporterProcess::WaitForLog(const std::string& text) const {
  return AwaitInFile(logs_.Path() + "/log", text, kPatience);
}

void ConfigFile::Write(const std::string& text) const {
  std::ofstream(path_) << text;
}

std::string ConfigFile::Beside(const std::string& name, const std::string& text) const {
  const std::string path = scratch_.Path() + "/" + name;
  std::ofstream(path) << text;
  chmod(path.c_str(), 0600);
  return path;
}

std::string WriteTlsWebConfig(const std::string& directory, const std::string& more) {
  const ProgramRun openssl =
      RunProgram(T740_OPENSSL, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                                directory + "/server.key", "-out", directory + "/server.crt",
                                "-days", "1", "-subj", "/CN=127.0.0.1"});
  if (openssl.exitStatus != 0) return "";
  const std::string path = directory + "/web.yml";
  std::ofstream(path) << "tls_server_config:\n  cert_file: server.crt\n  key_file: server.key\n"
                      << more;
  return path;
}

double Sample(const std::string& exposition, const std::string& series) {
  const size_t at = exposition.find("\n" + series + " ");
  if (at == std::string::npos) return -1;
  return std::stod(exposition.substr(at + series.size() + 2));
}

std::string ExporterPath() {
  return T740_EXPORTER;
}
std::string PluginPath() {
  return T740_PLUGIN;
}

}  // namespace t740::test
