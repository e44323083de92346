// What a command works with: the shared options, the transport to the
// card, the plug-in (loaded when a command first asks for it) and the
// terminal.
#ifndef T740_HOSTING_PLUGIN_HOST_CONTEXT_H
#define T740_HOSTING_PLUGIN_HOST_CONTEXT_H

#include <memory>
#include <ostream>

#include "hosting/plugin/plugin_library.h"
#include "hosting/plugin/plugin_session.h"
#include "hosting/plugin/time_limit.h"
#include "hosting/text/terminal_text.h"
#include "hosting/transport/host_options.h"
#include "hosting/transport/transport.h"

namespace t740::host {

class HostContext {
 public:
  // The request function reaches `transport` from now until destruction.
  HostContext(HostOptions options, std::unique_ptr<Transport> transport, std::ostream& out,
              std::ostream& err);
  ~HostContext();
  HostContext(const HostContext&) = delete;
  HostContext& operator=(const HostContext&) = delete;

  const HostOptions& Options() const { return options_; }
  Transport& CardTransport() { return *transport_; }
  // Creates "Devices" in the host directory and names it to the plug-in,
  // loads the plug-in and creates its card object, once. Throws HostError.
  PluginSession& Plugin();
  const TerminalText& Terminal() const { return terminal_; }
  std::ostream& Out() { return out_; }
  std::ostream& Err() { return err_; }

  // Bounds the rest of the run: by --time-limit, else by the default of a
  // run nobody watches (`headless`), else not at all.
  void LimitTime(bool headless);
  // Null when the run has no bound.
  TimeLimit* Limit() { return timeLimit_.get(); }
  double LimitSeconds() const { return limitSeconds_; }

 private:
  HostOptions options_;
  std::unique_ptr<Transport> transport_;
  std::ostream& out_;
  std::ostream& err_;
  TerminalText terminal_;
  std::unique_ptr<PluginLibrary> library_;
  std::unique_ptr<PluginSession> session_;
  double limitSeconds_ = 0;
  std::unique_ptr<TimeLimit> timeLimit_;
};

}  // namespace t740::host

#endif
