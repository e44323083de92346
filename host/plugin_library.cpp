#include "host/plugin_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include "host/host_error.h"

namespace t740::host {
namespace {

constexpr char kPluginFileName[] = "libt740.so";

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

template <typename Function>
void Bind(Function& slot, void* symbol) {
  slot = reinterpret_cast<Function>(symbol);
}

}  // namespace

PluginLibrary::PluginLibrary(std::string path) : path_(std::move(path)) {
  handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* reason = dlerror();
    throw HostError("cannot load the plug-in " + path_ + ": " +
                    (reason ? reason : "unknown error"));
  }
  Bind(exports_.createObject, Resolve("CreateObject"));
  Bind(exports_.getWarning, Resolve("GetWarning"));
  Bind(exports_.getLedState, Resolve("GetLedState"));
  Bind(exports_.getPerformanceData, Resolve("GetPerformanceData"));
  Bind(exports_.getAlarmSheild, Resolve("GetAlarmSheild"));
  // The threshold window came later; a plug-in without it still loads.
  Bind(exports_.openThresholds, Symbol("OpenThresholds"));
}

void* PluginLibrary::Symbol(const char* name) const {
  return dlsym(handle_, name);
}

void* PluginLibrary::Resolve(const char* name) const {
  void* symbol = Symbol(name);
  if (!symbol) throw HostError("the plug-in " + path_ + " does not export " + name);
  return symbol;
}

std::string ResolvePluginPath(const std::string& requested, const std::string& hostDirectory) {
  if (!requested.empty()) return requested;
  const std::string beside = hostDirectory + kPluginFileName;
  if (IsFile(beside)) return beside;
  const std::string installed = hostDirectory + T740_INSTALLED_PLUGIN;
  if (IsFile(installed)) return installed;
  if (IsFile(T740_BUILT_PLUGIN)) return T740_BUILT_PLUGIN;
  // A host moved away from its installation: the loader's own search.
  return T740_PLUGIN_SONAME;
}

}  // namespace t740::host
