#include "alerter_process.h"

#include <fcntl.h>
#include <httplib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "alertmanager_process.h"

namespace t740::test {
namespace {

constexpr auto kStartPatience = std::chrono::seconds(10);
constexpr auto kMetricPatience = std::chrono::seconds(30);
constexpr auto kPollPause = std::chrono::milliseconds(50);
constexpr char kListening[] = "msg=listening address=127.0.0.1:";
constexpr char kSnmp[] = "snmp=127.0.0.1:";

int PortAfter(const std::string& text, const char* prefix, size_t prefixLength) {
  const size_t at = text.find(prefix);
  return at == std::string::npos ? 0 : std::stoi(text.substr(at + prefixLength));
}

}  // namespace

AlerterProcess::AlerterProcess(const std::vector<std::string>& arguments) {
  const std::string log = logs_.Path() + "/log";
  // The alarm log goes beside the log, a store of this alerter's own.
  std::vector<std::string> all = {"--web.listen-address",
                                  "127.0.0.1:0",
                                  "--snmp.listen-address",
                                  "127.0.0.1:0",
                                  "--plugin",
                                  T740_PLUGIN,
                                  "--storage.path",
                                  logs_.Path() + "/data"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  try {
    pid_ = SpawnLogged(T740_ALERTER, all, logs_.Path(), log);
  } catch (const std::runtime_error& error) {
    ADD_FAILURE() << error.what();
  }
  if (pid_ < 0) return;
  if (!AwaitLog(kListening)) {
    ADD_FAILURE() << "t740-alerter did not start: " << Log();
    return;
  }
  const std::string text = Log();
  port_ = PortAfter(text, kListening, sizeof kListening - 1);
  snmpPort_ = PortAfter(text, kSnmp, sizeof kSnmp - 1);
}

AlerterProcess::~AlerterProcess() {
  Stop();
}

int AlerterProcess::Stop() {
  return StopChild(pid_, exitStatus_);
}

std::string AlerterProcess::Log() const {
  return ReadWholeFile(logs_.Path() + "/log");
}

bool AlerterProcess::AwaitLog(const std::string& text) const {
  return AwaitInFile(logs_.Path() + "/log", text, kStartPatience);
}

std::string AlerterProcess::Metrics() const {
  if (port_ == 0) return "";
  httplib::Client client("127.0.0.1", port_);
  const auto result = client.Get("/metrics");
  return result && result->status == 200 ? result->body : "";
}

bool AlerterProcess::AwaitMetric(const std::string& metric, double atLeast) const {
  const auto deadline = std::chrono::steady_clock::now() + kMetricPatience;
  while (MetricSum(Metrics(), metric) < atLeast) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kPollPause);
  }
  return true;
}

double MetricSum(const std::string& exposition, const std::string& metric) {
  double sum = -1;
  std::istringstream lines(exposition);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.compare(0, metric.size(), metric) != 0) continue;
    const char after = line.size() > metric.size() ? line[metric.size()] : '\0';
    if (after != ' ' && after != '{') continue;
    sum = (sum < 0 ? 0 : sum) + std::stod(line.substr(line.rfind(' ') + 1));
  }
  return sum;
}

}  // namespace t740::test
