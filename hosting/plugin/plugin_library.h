// The card plug-in loaded as a host loads it: by path, with its exports
// resolved by name.
#ifndef T740_HOSTING_PLUGIN_PLUGIN_LIBRARY_H
#define T740_HOSTING_PLUGIN_PLUGIN_LIBRARY_H

#include <string>

#include "t740/abi.h"

namespace t740::host {

struct PluginExports {
  decltype(&::CreateObject) createObject;
  decltype(&::GetWarning) getWarning;
  decltype(&::GetLedState) getLedState;
  decltype(&::GetPerformanceData) getPerformanceData;
  decltype(&::GetAlarmSheild) getAlarmSheild;
  decltype(&::OpenThresholds) openThresholds;  // null when the plug-in has none
};

class PluginLibrary {
 public:
  // Throws HostError when the library does not load or lacks an export.
  explicit PluginLibrary(std::string path);
  // The library stays loaded for the life of the process: the user
  // interface it brings does not survive being unloaded.
  ~PluginLibrary() = default;
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  const PluginExports& Exports() const { return exports_; }
  // The file loaded: as given, or where the loader found a bare soname.
  const std::string& Path() const { return path_; }
  // Another export by name, or null.
  void* Symbol(const char* name) const;

 private:
  void* Resolve(const char* name) const;

  std::string path_;
  void* handle_ = nullptr;
  PluginExports exports_{};
};

// --plugin when given, else the installed plug-in relative to the host's
// directory (../lib/<multiarch>/libt740.so.1; not when `hostDirectory` is
// empty), else the soname for the loader to find. No absolute path of the
// build: an installed host must not load whatever lies where the build
// once was.
std::string ResolvePluginPath(const std::string& requested, const std::string& hostDirectory);
// The same for the running program, relative to its own directory.
std::string ResolveProgramPluginPath(const std::string& requested);

}  // namespace t740::host

#endif
