#include "support/remark_folder.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "core/console/remark_file.h"

namespace t740::test {

namespace fs = std::filesystem;

RemarkFolder::~RemarkFolder() {
  if (root_.empty()) return;
  std::error_code ignored;
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::permissions(Devices(), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(root_, ignored);
}

bool RemarkFolder::Create(std::string_view prefix) {
  std::string pattern = "/tmp/" + std::string(prefix) + "-XXXXXX";
  if (!mkdtemp(pattern.data())) return false;
  root_ = pattern;
  std::error_code error;
  if (!fs::create_directory(Devices(), error)) return false;
  const std::optional<std::string> file = RemarkFilePath(root_.string() + "/", "10.0.0.5", "0105");
  if (!file) return false;
  file_ = *file;
  return true;
}

void RemarkFolder::Put(std::string_view bytes) const {
  PutAt(file_, bytes);
}

std::string RemarkFolder::Contents() const {
  return ContentsAt(file_);
}

void RemarkFolder::PutAt(const std::string& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string RemarkFolder::ContentsAt(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace t740::test
