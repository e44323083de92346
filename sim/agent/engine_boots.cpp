#include "sim/agent/engine_boots.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace t740::sim {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kClockEpoch = 1577836800;  // 2020-01-01 00:00:00 UTC

std::runtime_error StateError(const std::string& path, const std::string& why) {
  return std::runtime_error(path + ": " + why);
}

void MakeDirectory(const std::string& directory) {
  std::error_code error;
  fs::create_directories(directory, error);
  if (error) throw StateError(directory, "cannot make the state directory: " + error.message());
  if (!fs::is_directory(directory)) throw StateError(directory, "is no directory");
}

// The count in the file ("N" and a line break), 0 when there is no file.
uint32_t StoredCount(const std::string& path) {
  std::error_code error;
  if (!fs::exists(path, error)) return 0;
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  std::string count = text.str();
  if (!count.empty() && count.back() == '\n') count.pop_back();
  const bool digits = !count.empty() && count.size() <= 10 &&
                      count.find_first_not_of("0123456789") == std::string::npos;
  if (!file || !digits || std::stoull(count) > kEngineBootsMaximum) {
    throw StateError(path, "holds no engine boots count (remove it to count from 1 again)");
  }
  return static_cast<uint32_t>(std::stoull(count));
}

void WriteAll(int descriptor, const std::string& text, const std::string& path) {
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t step = write(descriptor, text.data() + written, text.size() - written);
    if (step < 0 && errno == EINTR) continue;
    if (step <= 0) throw StateError(path, std::string("cannot write: ") + std::strerror(errno));
    written += static_cast<size_t>(step);
  }
}

// Written in full beside the file, then renamed over it.
void StoreCount(const std::string& path, uint32_t count) {
  const std::string temporary = path + ".new";
  const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (descriptor < 0) {
    throw StateError(temporary, std::string("cannot write: ") + std::strerror(errno));
  }
  try {
    WriteAll(descriptor, std::to_string(count) + "\n", temporary);
    if (fsync(descriptor) != 0) {
      throw StateError(temporary, std::string("cannot write: ") + std::strerror(errno));
    }
  } catch (...) {
    close(descriptor);
    unlink(temporary.c_str());
    throw;
  }
  close(descriptor);
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    unlink(temporary.c_str());
    throw StateError(path, "cannot replace: " + why);
  }
}

}  // namespace

uint32_t NextStoredEngineBoots(const std::string& directory) {
  MakeDirectory(directory);
  const std::string path = (fs::path(directory) / kEngineBootsFile).string();
  const uint32_t last = StoredCount(path);
  const uint32_t next = last < kEngineBootsMaximum ? last + 1 : kEngineBootsMaximum;
  StoreCount(path, next);
  return next;
}

uint32_t ClockEngineBoots(std::time_t now) {
  if (now <= kClockEpoch) return 1;
  const auto seconds = static_cast<unsigned long long>(now - kClockEpoch);
  return seconds < kEngineBootsMaximum ? static_cast<uint32_t>(seconds) : kEngineBootsMaximum;
}

}  // namespace t740::sim
