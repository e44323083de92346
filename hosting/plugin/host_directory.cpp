#include "hosting/plugin/host_directory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/card/host_directory.h"
#include "hosting/errors/host_error.h"

namespace t740::host {
namespace {

constexpr char kStateSubdirectory[] = "t740/";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string HomeDirectory() {
  std::string home = Environment("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid())) home = entry->pw_dir ? entry->pw_dir : "";
  }
  if (home.empty())
    throw HostError("no home directory for the state directory; use --host-directory");
  return home;
}

// The XDG base directory rules: a relative $XDG_STATE_HOME is ignored.
std::string StateHome() {
  const std::string state = Environment("XDG_STATE_HOME");
  if (!state.empty() && state.front() == '/') return WithTrailingSlash(state);
  return WithTrailingSlash(HomeDirectory()) + ".local/state/";
}

void MakeDirectory(const std::string& path, mode_t mode) {
  if (mkdir(path.c_str(), mode) != 0 && errno != EEXIST) {
    throw HostError("cannot create " + path + ": " + std::strerror(errno));
  }
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    throw HostError(path + " exists but is not a directory");
  }
}

// Each missing directory on the way, as `mkdir -p` does.
void MakeDirectories(const std::string& directory, mode_t mode) {
  for (size_t slash = directory.find('/', 1); slash != std::string::npos;
       slash = directory.find('/', slash + 1)) {
    MakeDirectory(directory.substr(0, slash), mode);
  }
}

}  // namespace

std::string ChooseHostDirectory(const std::string& requested) {
  if (!requested.empty()) return WithTrailingSlash(requested);
  const std::string named = NamedHostDirectory();
  if (!named.empty()) return named;
  return StateHome() + kStateSubdirectory;
}

void EnsureDevicesDirectory(const std::string& hostDirectory) {
  MakeDirectories(hostDirectory, 0700);
  MakeDirectory(hostDirectory + "Devices", 0777);
}

}  // namespace t740::host
