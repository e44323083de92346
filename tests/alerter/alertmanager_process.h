// Debian's prometheus-alertmanager as a child on a free port of 127.0.0.1,
// alone (no cluster), its state in a scratch directory that outlives its
// stops, so that a restart finds the same port and storage.
#ifndef T740_TESTS_ALERTER_ALERTMANAGER_PROCESS_H
#define T740_TESTS_ALERTER_ALERTMANAGER_PROCESS_H

#include <sys/types.h>

#include <string>

#include "alerter/alertmanager/alertmanager_url.h"
#include "child_process.h"

namespace t740::test {

// A route to a receiver that sends nothing.
extern const char kNullReceiverConfig[];

class AlertmanagerProcess {
 public:
  explicit AlertmanagerProcess(const std::string& config = kNullReceiverConfig);
  ~AlertmanagerProcess();
  AlertmanagerProcess(const AlertmanagerProcess&) = delete;
  AlertmanagerProcess& operator=(const AlertmanagerProcess&) = delete;

  // Starts it again after Stop(), on the same port and storage.
  void Start();
  void Stop();
  // Waits up to a minute for /-/ready.
  bool AwaitReady() const;

  int Port() const { return port_; }
  std::string UrlText() const { return "http://127.0.0.1:" + std::to_string(port_); }
  alerter::AlertmanagerUrl Url() const { return alerter::ParseAlertmanagerUrl(UrlText()); }
  std::string Log() const;

 private:
  ScratchDirectory directory_;
  int port_;
  std::string log_;
  pid_t pid_ = -1;
  int exitStatus_ = -1;
};

// A TCP port of 127.0.0.1 free a moment ago.
int FreeTcpPort();

}  // namespace t740::test

#endif
