// The remark file of one card: "Devices/" + IP address + card address +
// "t740_Remark.ini" in the host directory. One line of GBK bytes, no
// line end: the remarks of ports A to D, each ended by ",", then ";".
#ifndef T740_CORE_CONSOLE_REMARK_FILE_H
#define T740_CORE_CONSOLE_REMARK_FILE_H

#include <sys/types.h>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace t740 {

constexpr int kRemarkPortCount = 4;
// Fields beyond this many are dropped when a line is split.
constexpr size_t kRemarkFieldLimit = 100;

using PortRemarks = std::array<std::string, kRemarkPortCount>;

// The file's path under `hostDirectory` (which ends in "/"), or nothing when
// the host's IP or card address text would name a file outside "Devices".
std::optional<std::string> RemarkFilePath(std::string_view hostDirectory, std::string_view ip,
                                          std::string_view cardAddress);

// Field n is the text before the (n+1)-th ","; what follows the last "," is
// ignored.
std::vector<std::string> SplitRemarkLine(std::string_view line);
std::string JoinRemarkLine(const PortRemarks& remarks);

// A remark with "," or a line break would split or cut the line on the next
// load.
bool IsStorableRemark(std::string_view remark);

enum class RemarkReadOutcome {
  kNoFile,      // the file cannot be opened: the ports have no remarks yet
  kReadFailed,  // opened, but not even an empty first line could be read
  kRead,
};

struct RemarkRead {
  RemarkReadOutcome outcome;
  std::vector<std::string> fields;  // of the first line, when read
};

RemarkRead ReadRemarkFile(const std::string& path);

// The system calls of a save, replaceable so that tests can make any of them
// fail as a full disk, a read-only directory or a crash would.
struct RemarkFileCalls {
  std::function<int(const char* path, int flags, mode_t mode)> open;
  std::function<ssize_t(int fd, const void* data, size_t size)> write;
  std::function<int(int fd)> fsync;
  std::function<int(int fd)> close;
  std::function<int(const char* from, const char* to)> rename;
  std::function<int(const char* path)> unlink;
  std::function<int(int fd, mode_t mode)> fchmod;
  std::function<int(int fd, uid_t owner, gid_t group)> fchown;
};

const RemarkFileCalls& SystemRemarkFileCalls();

// Writes the content to a temporary file beside `path` and renames it over
// the old file, so that a failure leaves the old file as it was; then syncs
// the directory, so that the new name survives a power cut. An old file
// that this process may not open for writing is left alone and the save
// fails, as a plain open for writing would; otherwise the new file keeps the
// old one's mode, and its owner and group as far as this process may set
// them. An old file with more than one hard link is rewritten in place, so
// that every name of it sees the new remarks. When `path` is a symbolic link
// the file it ends at is saved and the link stays; a link that ends outside
// the directory of `path` is not followed and the save fails. False on any
// failure.
bool WriteRemarkFile(const std::string& path, std::string_view content,
                     const RemarkFileCalls& calls = SystemRemarkFileCalls());

}  // namespace t740

#endif
