#include "host/host_context.h"

#include <cstdlib>

#include "console/host_directory.h"
#include "host/host_directory.h"
#include "host/host_error.h"
#include "host/host_request.h"

namespace t740::host {

HostContext::HostContext(HostOptions options, std::unique_ptr<Transport> transport,
                         std::ostream& out, std::ostream& err)
    : options_(std::move(options)), transport_(std::move(transport)), out_(out), err_(err) {
  SetRequestTransport(transport_.get());
}

HostContext::~HostContext() {
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
  library_ = std::make_unique<PluginLibrary>(
      ResolvePluginPath(options_.pluginPath, ExecutableDirectory()));
  session_ = std::make_unique<PluginSession>(*library_);
  return *session_;
}

}  // namespace t740::host
