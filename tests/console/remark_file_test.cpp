#include "core/console/remark_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/card/host_directory.h"
#include "support/gbk.h"
#include "support/remark_folder.h"
#include "support/unprivileged_child.h"

namespace t740 {
namespace {

namespace fs = std::filesystem;
using test::Gbk;

class RemarkFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.Create("t740-remark"));
    root_ = folder_.Root();
    path_ = folder_.File();
  }

  void Put(std::string_view bytes) { folder_.Put(bytes); }
  std::string Contents() const { return folder_.Contents(); }
  size_t FilesInDevices() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(root_ / "Devices"), {}));
  }

  test::RemarkFolder folder_;
  fs::path root_;
  std::string path_;
};

TEST(RemarkFilePath, JoinsAddressesUnderDevicesBesideTheHost) {
  EXPECT_EQ(RemarkFilePath("/opt/nms/", "10.0.0.5", "0105"),
            "/opt/nms/Devices/10.0.0.50105t740_Remark.ini");
  EXPECT_EQ(RemarkFilePath("/opt/nms/", "", ""), "/opt/nms/Devices/t740_Remark.ini");
}

TEST(RemarkFilePath, RefusesAddressesThatCouldLeaveDevices) {
  EXPECT_EQ(RemarkFilePath("/opt/nms/", "../../etc/x", "0105"), std::nullopt);
  EXPECT_EQ(RemarkFilePath("/opt/nms/", "10.0.0.5", "/tmp/x"), std::nullopt);
  EXPECT_EQ(RemarkFilePath("/opt/nms/", "..", ""), std::nullopt);
  EXPECT_EQ(RemarkFilePath("/opt/nms/", "10.0.0.5", "a\\b"), std::nullopt);
  EXPECT_EQ(RemarkFilePath("/opt/nms/", std::string_view("10\0/x", 5), "0105"), std::nullopt);
}

TEST(HostDirectory, IsTheDirectoryOfTheRunningExecutable) {
  unsetenv(kHostDirectoryVariable);
  const std::string directory = HostDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '/');
  EXPECT_TRUE(fs::exists(directory + "remark_file_tests"));
  EXPECT_EQ(ExecutableDirectory(), directory);
}

TEST(HostDirectory, TheHostMayNameAnotherOne) {
  setenv(kHostDirectoryVariable, "/var/lib/nms", 1);
  EXPECT_EQ(HostDirectory(), "/var/lib/nms/");
  setenv(kHostDirectoryVariable, "/var/lib/nms/", 1);
  EXPECT_EQ(HostDirectory(), "/var/lib/nms/");
  EXPECT_EQ(NamedHostDirectory(), "/var/lib/nms/");
  setenv(kHostDirectoryVariable, "", 1);
  EXPECT_EQ(HostDirectory(), ExecutableDirectory());
  EXPECT_EQ(NamedHostDirectory(), "");
  unsetenv(kHostDirectoryVariable);
  EXPECT_EQ(NamedHostDirectory(), "");
}

TEST(RemarkLine, SplitsOnlyEndedFields) {
  EXPECT_EQ(SplitRemarkLine("x,y,"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(SplitRemarkLine("x,tail"), (std::vector<std::string>{"x"}));
  EXPECT_TRUE(SplitRemarkLine("no fields;").empty());
  EXPECT_TRUE(SplitRemarkLine("").empty());
}

TEST(RemarkLine, KeepsAtMostAHundredFields) {
  std::string line;
  for (int i = 0; i < 250; ++i) line += std::to_string(i) + ",";
  const auto fields = SplitRemarkLine(line);
  ASSERT_EQ(fields.size(), kRemarkFieldLimit);
  EXPECT_EQ(fields.front(), "0");
  EXPECT_EQ(fields.back(), "99");
}

TEST(StorableRemark, RefusesFieldEndsAndLineBreaks) {
  EXPECT_TRUE(IsStorableRemark(""));
  EXPECT_TRUE(IsStorableRemark(Gbk("张三 13900001111;备注")));
  EXPECT_FALSE(IsStorableRemark("a,b"));
  EXPECT_FALSE(IsStorableRemark("a\nb"));
  EXPECT_FALSE(IsStorableRemark("a\r"));
}

TEST_F(RemarkFileTest, MissingFileOrDirectoryIsNoFile) {
  EXPECT_EQ(ReadRemarkFile(path_).outcome, RemarkReadOutcome::kNoFile);
  fs::remove(root_ / "Devices");
  EXPECT_EQ(ReadRemarkFile(path_).outcome, RemarkReadOutcome::kNoFile);
}

TEST_F(RemarkFileTest, EmptyOrUnreadableFileIsAReadFailure) {
  Put("");
  EXPECT_EQ(ReadRemarkFile(path_).outcome, RemarkReadOutcome::kReadFailed);
  fs::remove(path_);
  fs::create_directory(path_);
  EXPECT_EQ(ReadRemarkFile(path_).outcome, RemarkReadOutcome::kReadFailed);
}

TEST_F(RemarkFileTest, ReadsOnlyTheFirstLine) {
  Put("a,b,\r\nc,d,e,;\n");
  const RemarkRead read = ReadRemarkFile(path_);
  EXPECT_EQ(read.outcome, RemarkReadOutcome::kRead);
  EXPECT_EQ(read.fields, (std::vector<std::string>{"a", "b"}));

  Put("\nx,y,z,w,;");
  EXPECT_EQ(ReadRemarkFile(path_).outcome, RemarkReadOutcome::kRead);
  EXPECT_TRUE(ReadRemarkFile(path_).fields.empty());
}

TEST_F(RemarkFileTest, BinaryBytesStayAsTheyAre) {
  const std::string line("\x00\xFF\x80,\x01\x02,", 7);
  Put(line);
  const RemarkRead read = ReadRemarkFile(path_);
  ASSERT_EQ(read.fields.size(), 2u);
  EXPECT_EQ(read.fields[0], std::string("\x00\xFF\x80", 3));
  EXPECT_EQ(read.fields[1], "\x01\x02");
}

TEST_F(RemarkFileTest, WritesByteForByteAndLeavesNoTemporaryFile) {
  Put("old,old,old,old,;and more that must go");
  const std::string content = JoinRemarkLine({Gbk("甲线"), "", "gamma", Gbk("丁")});
  ASSERT_TRUE(WriteRemarkFile(path_, content));
  EXPECT_EQ(Contents(), content);
  EXPECT_EQ(FilesInDevices(), 1u);
  EXPECT_EQ(ReadRemarkFile(path_).fields,
            (std::vector<std::string>{Gbk("甲线"), "", "gamma", Gbk("丁")}));
}

TEST_F(RemarkFileTest, FailsWithoutDevicesDirectoryAndCreatesNone) {
  fs::remove(root_ / "Devices");
  EXPECT_FALSE(WriteRemarkFile(path_, "a,b,c,d,;"));
  EXPECT_FALSE(fs::exists(root_ / "Devices"));
}

TEST_F(RemarkFileTest, FailsWhenTheNameIsTakenByADirectory) {
  fs::create_directory(path_);
  EXPECT_FALSE(WriteRemarkFile(path_, "a,b,c,d,;"));
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_EQ(FilesInDevices(), 1u);
}

TEST_F(RemarkFileTest, FailedWriteKeepsTheOldFile) {
  Put("keep,me,whole,please,;");
  // A file size limit makes the write itself fail part way, as a full disk
  // would.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 8;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteRemarkFile(path_, std::string(64, 'x') + ",,,,;");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(Contents(), "keep,me,whole,please,;");
  EXPECT_EQ(FilesInDevices(), 1u);
}

// What the operator set on the file survives a save: its mode, and a link
// that makes it another file of "Devices".
TEST_F(RemarkFileTest, SaveKeepsTheModeOfTheFileItReplaces) {
  Put("old,,,,;");
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  const mode_t previousMask = umask(022);
  const bool written = WriteRemarkFile(path_, "a,b,c,d,;");
  umask(previousMask);
  ASSERT_TRUE(written);
  struct stat status {};
  ASSERT_EQ(stat(path_.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(Contents(), "a,b,c,d,;");
}

TEST_F(RemarkFileTest, SaveThroughALinkReplacesItsTargetAndKeepsTheLink) {
  fs::create_directory(root_ / "Devices" / "shared");
  const fs::path target = root_ / "Devices" / "shared" / "card.ini";
  { std::ofstream(target) << "old,,,,;"; }
  fs::create_symlink("shared/card.ini", path_);
  ASSERT_TRUE(WriteRemarkFile(path_, "a,b,c,d,;"));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(fs::read_symlink(path_), "shared/card.ini");
  EXPECT_EQ(Contents(), "a,b,c,d,;");
  EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "Devices" / "shared"), {}), 1);

  // A link that does not lead to a file yet gets one.
  fs::remove(target);
  ASSERT_TRUE(WriteRemarkFile(path_, "e,f,g,h,;"));
  EXPECT_EQ(Contents(), "e,f,g,h,;");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
}

TEST_F(RemarkFileTest, SaveRefusesALinkLeadingOutOfDevicesOrInALoop) {
  const fs::path outside = root_ / "outside.ini";
  { std::ofstream(outside) << "not ours"; }
  fs::create_symlink("../outside.ini", path_);
  EXPECT_FALSE(WriteRemarkFile(path_, "a,b,c,d,;"));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), {}), 2);
  std::ifstream in(outside);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not ours");

  fs::remove(path_);
  fs::create_symlink(fs::path(path_).filename(), path_);
  EXPECT_FALSE(WriteRemarkFile(path_, "a,b,c,d,;"));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(FilesInDevices(), 1u);
}

// The owner's word on the file holds: a file its owner made read-only is not
// replaced by an ordinary user's save, though the directory would allow it.
TEST_F(RemarkFileTest, SaveRefusesAFileThisUserMayNotWrite) {
  fs::permissions(root_, fs::perms::owner_all | fs::perms::others_exec);
  if (geteuid() == 0) {
    ASSERT_EQ(chown((root_ / "Devices").c_str(), test::kNobody, test::kNoGroup), 0);
  }
  const std::string path = path_;
  const int result = test::InChildWithoutRootRights([&path] {
    test::RemarkFolder::PutAt(path, "mine,,,,;");
    if (chmod(path.c_str(), 0444) != 0) return 2;
    if (WriteRemarkFile(path, "a,b,c,d,;")) return 1;
    return test::RemarkFolder::ContentsAt(path) == "mine,,,,;" ? 0 : 3;
  });
  EXPECT_EQ(result, 0) << "1: replaced, 2: no read-only file to start from, 3: file changed";
  EXPECT_EQ(FilesInDevices(), 1u);
}

TEST_F(RemarkFileTest, SaveKeepsOwnerAndGroupAndEveryHardLink) {
  Put("old,,,,;");
  const fs::path second = root_ / "Devices" / "second-name.ini";
  fs::create_hard_link(path_, second);
  struct stat before {};
  ASSERT_EQ(stat(path_.c_str(), &before), 0);
  ASSERT_TRUE(WriteRemarkFile(path_, "a,b,c,d,;"));
  std::ifstream in(second);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a,b,c,d,;");
  EXPECT_EQ(Contents(), "a,b,c,d,;");
  struct stat after {};
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_nlink, 2u);

  // A single-named file is replaced; as root the new one is given back to
  // its owner.
  fs::remove(second);
  if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  ASSERT_EQ(chown(path_.c_str(), test::kNobody, test::kNoGroup), 0);
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  ASSERT_TRUE(WriteRemarkFile(path_, "e,f,g,h,;"));
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_uid, test::kNobody);
  EXPECT_EQ(after.st_gid, test::kNoGroup);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(Contents(), "e,f,g,h,;");
}

}  // namespace
}  // namespace t740
