// t740-alerter as a child process: its web server and notification
// receiver on free ports of 127.0.0.1, the build's plug-in, its log kept in
// a file; stopped by SIGTERM at the latest when the object goes.
#ifndef T740_TESTS_ALERTER_ALERTER_PROCESS_H
#define T740_TESTS_ALERTER_ALERTER_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace t740::test {

class AlerterProcess {
 public:
  // Waits a few seconds at most for its "listening" line; fails the test
  // (and leaves the ports 0) when it does not come.
  explicit AlerterProcess(const std::vector<std::string>& arguments);
  ~AlerterProcess();
  AlerterProcess(const AlerterProcess&) = delete;
  AlerterProcess& operator=(const AlerterProcess&) = delete;

  int Port() const { return port_; }
  int SnmpPort() const { return snmpPort_; }
  // "127.0.0.1:<snmp port>", for t740-sim's --notify.
  std::string SnmpAddress() const { return "127.0.0.1:" + std::to_string(snmpPort_); }
  // SIGTERM, then its exit status (-1 when it did not exit normally).
  int Stop();
  std::string Log() const;
  // Its /metrics, empty when it does not answer.
  std::string Metrics() const;
  // Waits up to half a minute for the sum of `metric`'s samples to reach
  // `atLeast`.
  bool AwaitMetric(const std::string& metric, double atLeast) const;

 private:
  bool AwaitLog(const std::string& text) const;

  ScratchDirectory logs_;
  pid_t pid_ = -1;
  int port_ = 0;
  int snmpPort_ = 0;
  int exitStatus_ = -1;
};

// The sum of every sample of `metric`, whatever its labels, in a Prometheus
// exposition; -1 when it has none.
double MetricSum(const std::string& exposition, const std::string& metric);

}  // namespace t740::test

#endif
