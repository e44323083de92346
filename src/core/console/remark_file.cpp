#include "core/console/remark_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>

#include "core/console/remark_target.h"

namespace t740 {
namespace {

constexpr std::string_view kDirectory = "Devices/";
constexpr std::string_view kFileEnding = "t740_Remark.ini";
constexpr char kFieldEnd = ',';
constexpr std::string_view kLineEnd = ";";

// The name is the two texts joined; a separator or ".." in either could walk
// out of "Devices", and a NUL byte would cut the name short.
bool IsSafeNamePart(std::string_view part) {
  return part.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos &&
         part.find("..") == std::string_view::npos;
}

std::string TemporaryPathBeside(const std::string& path, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  return path + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + "." +
         std::to_string(attempt) + ".tmp";
}

int CreateTemporaryBeside(const std::string& path, std::string& tempPath,
                          const RemarkFileCalls& calls) {
  for (unsigned attempt = 0; attempt < 8; ++attempt) {
    tempPath = TemporaryPathBeside(path, attempt);
    const int fd = calls.open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A write that makes no progress would loop for ever; it counts as failed.
bool WriteAll(int fd, std::string_view content, const RemarkFileCalls& calls) {
  while (!content.empty()) {
    const ssize_t written = calls.write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    content.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The permission bits of the regular file at `path`, if there is one.
std::optional<mode_t> ExistingMode(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return status.st_mode & 07777;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool SyncDirectory(const std::string& directory, const RemarkFileCalls& calls) {
  const int fd = calls.open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool synced = calls.fsync(fd) == 0;
  return calls.close(fd) == 0 && synced;
}

bool FillTemporary(int fd, std::string_view content, std::optional<mode_t> mode,
                   const RemarkFileCalls& calls) {
  if (mode && calls.fchmod(fd, *mode) != 0) return false;
  return WriteAll(fd, content, calls) && calls.fsync(fd) == 0;
}

bool ReplaceFile(const std::string& path, std::string_view content, const RemarkFileCalls& calls) {
  const std::optional<mode_t> mode = ExistingMode(path);
  std::string tempPath;
  const int fd = CreateTemporaryBeside(path, tempPath, calls);
  if (fd < 0) return false;
  bool written = FillTemporary(fd, content, mode, calls);
  written = calls.close(fd) == 0 && written;
  if (!written || calls.rename(tempPath.c_str(), path.c_str()) != 0) {
    calls.unlink(tempPath.c_str());
    return false;
  }
  return SyncDirectory(DirectoryOf(path), calls);
}

}  // namespace

std::optional<std::string> RemarkFilePath(std::string_view hostDirectory, std::string_view ip,
                                          std::string_view cardAddress) {
  if (!IsSafeNamePart(ip) || !IsSafeNamePart(cardAddress)) return std::nullopt;
  std::string path(hostDirectory);
  path += kDirectory;
  path += ip;
  path += cardAddress;
  path += kFileEnding;
  return path;
}

std::vector<std::string> SplitRemarkLine(std::string_view line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (fields.size() < kRemarkFieldLimit) {
    const size_t end = line.find(kFieldEnd, start);
    if (end == std::string_view::npos) break;
    fields.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

std::string JoinRemarkLine(const PortRemarks& remarks) {
  std::string line;
  for (const std::string& remark : remarks) {
    line += remark;
    line += kFieldEnd;
  }
  line += kLineEnd;
  return line;
}

bool IsStorableRemark(std::string_view remark) {
  return remark.find_first_of(",\r\n") == std::string_view::npos;
}

RemarkRead ReadRemarkFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) return {RemarkReadOutcome::kNoFile, {}};
  std::string line;
  if (!std::getline(file, line)) return {RemarkReadOutcome::kReadFailed, {}};
  // A file edited on Windows ends its line with CR LF.
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return {RemarkReadOutcome::kRead, SplitRemarkLine(line)};
}

const RemarkFileCalls& SystemRemarkFileCalls() {
  static const RemarkFileCalls calls{
      [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
      ::write,
      ::fsync,
      ::close,
      std::rename,
      ::unlink,
      ::fchmod,
  };
  return calls;
}

bool WriteRemarkFile(const std::string& path, std::string_view content,
                     const RemarkFileCalls& calls) {
  const std::optional<std::string> target = RemarkSaveTarget(path);
  return target && ReplaceFile(*target, content, calls);
}

}  // namespace t740
