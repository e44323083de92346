#include "core/console/remark_target.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace t740 {
namespace {

namespace fs = std::filesystem;

// More links than this in a chain are taken for a loop.
constexpr int kLinkHopLimit = 8;

bool IsLink(const fs::path& path) {
  std::error_code error;
  return fs::is_symlink(fs::symlink_status(path, error));
}

fs::path DirectoryOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

std::optional<fs::path> EndOfLinks(fs::path path) {
  for (int hop = 0; hop < kLinkHopLimit; ++hop) {
    if (!IsLink(path)) return path;
    std::error_code error;
    const fs::path target = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    path = target.is_absolute() ? target : DirectoryOf(path) / target;
  }
  return std::nullopt;
}

std::optional<fs::path> RealDirectory(const fs::path& path) {
  std::error_code error;
  fs::path real = fs::canonical(DirectoryOf(path), error);
  if (error) return std::nullopt;
  return real;
}

bool IsWithin(const fs::path& directory, const fs::path& inner) {
  return std::mismatch(directory.begin(), directory.end(), inner.begin(), inner.end()).first ==
         directory.end();
}

bool IsPlainName(const fs::path& name) {
  return !name.empty() && name != "." && name != "..";
}

}  // namespace

std::optional<std::string> RemarkSaveTarget(const std::string& path) {
  if (!IsLink(path)) return path;
  const std::optional<fs::path> end = EndOfLinks(path);
  if (!end || !IsPlainName(end->filename())) return std::nullopt;
  const std::optional<fs::path> devices = RealDirectory(path);
  const std::optional<fs::path> endDirectory = RealDirectory(*end);
  if (!devices || !endDirectory || !IsWithin(*devices, *endDirectory)) return std::nullopt;
  return (*endDirectory / end->filename()).string();
}

}  // namespace t740
