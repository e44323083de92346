#include "core/card/host_directory.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace t740 {

std::string ExecutableDirectory() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return std::string();
    if (static_cast<size_t>(length) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(length));
      const size_t slash = path.rfind('/');
      if (slash == std::string::npos) return std::string();
      path.resize(slash + 1);
      return path;
    }
    // readlink truncates silently; grow until the whole path fits.
    buffer.resize(buffer.size() * 2);
  }
}

std::string WithTrailingSlash(std::string directory) {
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
}

std::string NamedHostDirectory() {
  const char* named = std::getenv(kHostDirectoryVariable);
  if (!named || !*named) return std::string();
  return WithTrailingSlash(named);
}

std::string HostDirectory() {
  const std::string named = NamedHostDirectory();
  return named.empty() ? ExecutableDirectory() : named;
}

}  // namespace t740
