// A host directory of a test's own under /tmp, with its Devices folder and
// the remark file path of card 0105 at 10.0.0.5 in it. Removed at the end,
// whatever permissions a test left on it.
#ifndef T740_TESTS_SUPPORT_REMARK_FOLDER_H
#define T740_TESTS_SUPPORT_REMARK_FOLDER_H

#include <filesystem>
#include <string>
#include <string_view>

namespace t740::test {

class RemarkFolder {
 public:
  RemarkFolder() = default;
  ~RemarkFolder();
  RemarkFolder(const RemarkFolder&) = delete;
  RemarkFolder& operator=(const RemarkFolder&) = delete;

  // Makes /tmp/<prefix>-XXXXXX and its Devices folder; false if it cannot.
  bool Create(std::string_view prefix);

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Devices() const { return root_ / "Devices"; }
  const std::string& File() const { return file_; }

  // Writes the remark file with exactly these bytes; reads it back whole.
  void Put(std::string_view bytes) const;
  std::string Contents() const;
  static void PutAt(const std::string& file, std::string_view bytes);
  static std::string ContentsAt(const std::string& file);

 private:
  std::filesystem::path root_;
  std::string file_;
};

}  // namespace t740::test

#endif
