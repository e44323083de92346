#include "host/host_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "host/host_error.h"

namespace t740::host {

std::string HostDirectory() {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) {
    throw HostError("cannot find the host's own directory");
  }
  std::string path(buffer.data(), static_cast<size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}

void EnsureDevicesDirectory(const std::string& hostDirectory) {
  const std::string devices = hostDirectory + "Devices";
  if (mkdir(devices.c_str(), 0777) == 0 || errno == EEXIST) {
    struct stat info;
    if (stat(devices.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return;
    throw HostError(devices + " exists but is not a directory");
  }
  throw HostError("cannot create " + devices + ": " + std::strerror(errno));
}

}  // namespace t740::host
