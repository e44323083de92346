// The plug-in as the host drives it: one card object created at start,
// with the host's request function, host value and device record, and
// released at the end.
#ifndef T740_HOSTING_PLUGIN_PLUGIN_SESSION_H
#define T740_HOSTING_PLUGIN_PLUGIN_SESSION_H

#include "hosting/plugin/plugin_library.h"
#include "t740/abi.h"

namespace t740::host {

class PluginSession {
 public:
  // Throws HostError when the plug-in hands back no card object.
  explicit PluginSession(const PluginLibrary& library);
  ~PluginSession();
  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  const PluginLibrary& Library() const { return library_; }
  const PluginExports& Exports() const { return library_.Exports(); }
  CCardBase& Card() const { return *card_; }
  // What OpenConfiguration receives: the device type and location texts.
  HostDeviceRecord* DeviceRecord() { return &record_; }

 private:
  const PluginLibrary& library_;
  CCardBase* card_ = nullptr;
  HostDeviceRecord record_{};
};

}  // namespace t740::host

#endif
