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

// The new file takes the old one's owner and group where this process may
// set them (an ordinary user keeps at least a group of its own), then its
// mode, which a change of owner may have cut.
bool TakeOwnerAndMode(int fd, const struct stat& old, const RemarkFileCalls& calls) {
  if (calls.fchown(fd, old.st_uid, old.st_gid) != 0) {
    calls.fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  return calls.fchmod(fd, old.st_mode & 07777) == 0;
}

bool FillTemporary(int fd, std::string_view content, const struct stat* old,
                   const RemarkFileCalls& calls) {
  if (old && !TakeOwnerAndMode(fd, *old, calls)) return false;
  return WriteAll(fd, content, calls) && calls.fsync(fd) == 0;
}

bool ReplaceFile(const std::string& path, std::string_view content, const struct stat* old,
                 const RemarkFileCalls& calls) {
  std::string tempPath;
  const int fd = CreateTemporaryBeside(path, tempPath, calls);
  if (fd < 0) return false;
  bool written = FillTemporary(fd, content, old, calls);
  written = calls.close(fd) == 0 && written;
  if (!written || calls.rename(tempPath.c_str(), path.c_str()) != 0) {
    calls.unlink(tempPath.c_str());
    return false;
  }
  return SyncDirectory(DirectoryOf(path), calls);
}

// A file with several names cannot be replaced without parting them, so it is
// written where it is. Its blocks are reserved first, so that a full disk
// fails before the old remarks are touched; the new line goes over the start
// of the old one before the file is cut to its length, so that a crash in
// between leaves the four new remarks ahead of old fields that a load does
// not show.
bool RewriteInPlace(int fd, std::string_view content, const RemarkFileCalls& calls) {
  const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(content.size()));
  if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) return false;
  return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, content, calls) &&
         ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && calls.fsync(fd) == 0;
}

// Opening the old file for writing asks what a save that truncates it would
// ask: its mode and owner, access lists, a read-only mount or an immutable
// flag. It is not truncated here; a FIFO does not block the save.
int OpenOldForWriting(const std::string& path, const RemarkFileCalls& calls) {
  return calls.open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
}

bool SaveOver(const std::string& path, std::string_view content, const RemarkFileCalls& calls) {
  const int fd = OpenOldForWriting(path, calls);
  if (fd < 0) return errno == ENOENT && ReplaceFile(path, content, nullptr, calls);
  struct stat old {};
  if (::fstat(fd, &old) != 0 || !S_ISREG(old.st_mode)) {
    calls.close(fd);
    return false;
  }
  if (old.st_nlink > 1) {
    const bool written = RewriteInPlace(fd, content, calls);
    return calls.close(fd) == 0 && written;
  }
  calls.close(fd);
  return ReplaceFile(path, content, &old, calls);
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
      ::fchown,
  };
  return calls;
}

bool WriteRemarkFile(const std::string& path, std::string_view content,
                     const RemarkFileCalls& calls) {
  const std::optional<std::string> target = RemarkSaveTarget(path);
  return target && SaveOver(*target, content, calls);
}

}  // namespace t740
