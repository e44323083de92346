#include "host/host_context.h"

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
  const std::string directory = HostDirectory();
  // Only the port user page's remark file lives there: a host installed
  // where its user cannot write still shows the card.
  try {
    EnsureDevicesDirectory(directory);
  } catch (const HostError& error) {
    err_ << "t740-host: warning: " << error.what() << "; port remarks cannot be saved\n";
  }
  library_ = std::make_unique<PluginLibrary>(ResolvePluginPath(options_.pluginPath, directory));
  session_ = std::make_unique<PluginSession>(*library_);
  return *session_;
}

}  // namespace t740::host
