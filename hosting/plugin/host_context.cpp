#include "hosting/plugin/host_context.h"

#include <cstdlib>

#include "core/card/host_directory.h"
#include "hosting/errors/host_error.h"
#include "hosting/plugin/host_directory.h"
#include "hosting/plugin/host_request.h"
#include "hosting/plugin/waiting_for.h"

namespace t740::host {
namespace {

// Long enough for every window over a lossy SNMP link with its retries.
constexpr double kHeadlessTimeLimitSeconds = 120;
// How long the window thread has to take over the ending at the limit.
constexpr auto kWindowGrace = std::chrono::seconds(2);

}  // namespace

HostContext::HostContext(HostOptions options, std::unique_ptr<Transport> transport,
                         std::ostream& out, std::ostream& err)
    : options_(std::move(options)), transport_(std::move(transport)), out_(out), err_(err) {
  SetRequestTransport(transport_.get());
}

HostContext::~HostContext() {
  timeLimit_.reset();
  session_.reset();
  SetRequestTransport(nullptr);
}

PluginSession& HostContext::Plugin() {
  if (session_) return *session_;
  const std::string hostDirectory = ChooseHostDirectory(options_.hostDirectory);
  // Only the port user page's remark file lives there: a host directory
  // that cannot be made still shows the card.
  try {
    EnsureDevicesDirectory(hostDirectory);
  } catch (const HostError& error) {
    err_ << "t740-host: warning: " << error.what() << "; port remarks cannot be saved\n";
  }
  // Set before the plug-in loads: its windows read it when they open.
  setenv(kHostDirectoryVariable, hostDirectory.c_str(), 1);
  library_ = std::make_unique<PluginLibrary>(ResolveProgramPluginPath(options_.pluginPath));
  session_ = std::make_unique<PluginSession>(*library_);
  return *session_;
}

void HostContext::LimitTime(bool headless) {
  limitSeconds_ = options_.timeLimitSeconds > 0 ? options_.timeLimitSeconds
                  : headless                    ? kHeadlessTimeLimitSeconds
                                                : 0;
  if (limitSeconds_ <= 0) return;
  // The windows, when they are up, end the run and say more themselves.
  timeLimit_ = std::make_unique<TimeLimit>(
      std::chrono::duration_cast<TimeLimit::Clock::duration>(
          std::chrono::duration<double>(limitSeconds_)),
      kWindowGrace, [this](bool windowsUp) {
        err_ << "t740-host: " << TimeLimitReport(limitSeconds_, WaitingForNow()) << "\n";
        if (windowsUp) {
          err_ << "t740-host: the windows could not be pictured or closed: the window thread "
                  "is held up in that wait\n";
        }
        ExitAfterTimeLimit(out_, err_);
      });
}

}  // namespace t740::host
