#include "hosting/plugin/plugin_library.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include "core/card/host_directory.h"
#include "hosting/errors/host_error.h"

namespace t740::host {
namespace {

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The file the loader found for a name without a directory.
std::string LoadedFile(void* handle, const std::string& requested) {
  if (requested.find('/') != std::string::npos) return requested;
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name || !*map->l_name) {
    return requested;
  }
  return map->l_name;
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
  path_ = LoadedFile(handle_, path_);
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
  // Without its own directory (no /proc) the host does not guess one:
  // a relative path would be taken from the working directory.
  const std::string installed = hostDirectory + T740_INSTALLED_PLUGIN;
  if (!hostDirectory.empty() && IsFile(installed)) return installed;
  // The loader's own search, which in the build tree also looks where the
  // build put the plug-in (the build's run path, relative to the host).
  return T740_PLUGIN_SONAME;
}

std::string ResolveProgramPluginPath(const std::string& requested) {
  return ResolvePluginPath(requested, ExecutableDirectory());
}

}  // namespace t740::host
