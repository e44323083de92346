// The remark file's save under the faults a management computer has: a full
// disk, a read-only directory, failing flush, close or rename, a crash
// between writing and renaming, and other processes saving at the same
// time. The file read afterwards is always one whole save, never a part.
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/console/remark_file.h"
#include "support/gbk.h"
#include "support/remark_folder.h"
#include "support/unprivileged_child.h"

namespace t740 {
namespace {

namespace fs = std::filesystem;

constexpr char kPrevious[] = "keep,me,whole,please,;";

// A call that fails with `error`, for a RemarkFileCalls member.
template <class... Args>
auto Failing(int error) {
  return [error](Args...) {
    errno = error;
    return -1;
  };
}

class RemarkFileFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.Create("t740-remark-faults"));
    path_ = folder_.File();
    folder_.Put(kPrevious);
  }

  std::string Contents() const { return folder_.Contents(); }
  std::vector<std::string> FilesInDevices() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_.Devices())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
  void ExpectPreviousFileAlone() const {
    EXPECT_EQ(Contents(), kPrevious);
    EXPECT_EQ(FilesInDevices(), std::vector<std::string>{fs::path(path_).filename().string()});
  }
  static std::string NewContent() {
    return JoinRemarkLine({test::Gbk("甲线 13900001111"), "", "gamma", test::Gbk("丁")});
  }

  test::RemarkFolder folder_;
  std::string path_;
};

TEST_F(RemarkFileFaultTest, FullDiskAtTheFirstWriteKeepsThePreviousFile) {
  RemarkFileCalls calls = SystemRemarkFileCalls();
  calls.write = Failing<int, const void*, size_t>(ENOSPC);
  EXPECT_FALSE(WriteRemarkFile(path_, NewContent(), calls));
  ExpectPreviousFileAlone();
}

TEST_F(RemarkFileFaultTest, FullDiskPartWayKeepsThePreviousFile) {
  RemarkFileCalls calls = SystemRemarkFileCalls();
  int writes = 0;
  calls.write = [&writes](int fd, const void* data, size_t size) -> ssize_t {
    if (writes++ == 0) return ::write(fd, data, std::min<size_t>(size, 5));
    errno = ENOSPC;
    return -1;
  };
  EXPECT_FALSE(WriteRemarkFile(path_, NewContent(), calls));
  EXPECT_EQ(writes, 2);
  ExpectPreviousFileAlone();
}

TEST_F(RemarkFileFaultTest, InterruptedWritesAreResumedAndShortOnesContinued) {
  RemarkFileCalls calls = SystemRemarkFileCalls();
  int writes = 0;
  calls.write = [&writes](int fd, const void* data, size_t size) -> ssize_t {
    if (writes++ % 2 == 0) {
      errno = EINTR;
      return -1;
    }
    return ::write(fd, data, std::min<size_t>(size, 3));
  };
  ASSERT_TRUE(WriteRemarkFile(path_, NewContent(), calls));
  EXPECT_EQ(Contents(), NewContent());
  EXPECT_EQ(FilesInDevices().size(), 1u);
}

TEST_F(RemarkFileFaultTest, AWriteThatMakesNoProgressFailsInsteadOfSpinning) {
  RemarkFileCalls calls = SystemRemarkFileCalls();
  int writes = 0;
  calls.write = [&writes](int, const void*, size_t) -> ssize_t {
    ++writes;
    return 0;
  };
  EXPECT_FALSE(WriteRemarkFile(path_, NewContent(), calls));
  EXPECT_EQ(writes, 1);
  ExpectPreviousFileAlone();
}

TEST_F(RemarkFileFaultTest, FailedFlushCloseOrRenameKeepsThePreviousFile) {
  const std::vector<std::pair<const char*, RemarkFileCalls>> faults = [] {
    std::vector<std::pair<const char*, RemarkFileCalls>> all;
    RemarkFileCalls calls = SystemRemarkFileCalls();
    calls.fsync = Failing<int>(EIO);
    all.emplace_back("fsync", calls);
    calls = SystemRemarkFileCalls();
    // A network file system may report a full quota only at close.
    calls.close = [](int fd) {
      ::close(fd);
      errno = EDQUOT;
      return -1;
    };
    all.emplace_back("close", calls);
    calls = SystemRemarkFileCalls();
    calls.rename = Failing<const char*, const char*>(EACCES);
    all.emplace_back("rename", calls);
    return all;
  }();
  for (const auto& [name, calls] : faults) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(WriteRemarkFile(path_, NewContent(), calls));
    ExpectPreviousFileAlone();
  }
}

TEST_F(RemarkFileFaultTest, ReadOnlyFileSystemCreatesNothing) {
  RemarkFileCalls calls = SystemRemarkFileCalls();
  calls.open = Failing<const char*, int, mode_t>(EROFS);
  EXPECT_FALSE(WriteRemarkFile(path_, NewContent(), calls));
  ExpectPreviousFileAlone();
}

TEST_F(RemarkFileFaultTest, ReadOnlyDirectoryKeepsThePreviousFile) {
  fs::permissions(folder_.Root(),
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::permissions(folder_.Devices(), fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::group_exec | fs::perms::others_exec);
  fs::permissions(path_, fs::perms::all);
  const std::string path = path_;
  const std::string content = NewContent();
  const int result = test::InChildWithoutRootRights([&] {
    if (WriteRemarkFile(path, content)) return 1;
    return errno == EACCES ? 0 : 2;
  });
  EXPECT_EQ(result, 0) << "1: written, 2: failed for another reason than the permissions";
  ExpectPreviousFileAlone();
}

// Ends the process at once, as a crash or a kill of the host would.
[[noreturn]] void Crash() {
  raise(SIGKILL);
  _exit(1);
}

int CrashedChild(const std::function<void()>& step) {
  const pid_t child = fork();
  if (child == 0) {
    step();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

TEST_F(RemarkFileFaultTest, CrashBetweenWriteAndRenameKeepsThePreviousFile) {
  const std::string path = path_;
  EXPECT_EQ(CrashedChild([&] {
              RemarkFileCalls calls = SystemRemarkFileCalls();
              calls.rename = [](const char*, const char*) -> int { Crash(); };
              WriteRemarkFile(path, NewContent(), calls);
            }),
            SIGKILL);
  EXPECT_EQ(Contents(), kPrevious);
  EXPECT_EQ(ReadRemarkFile(path_).fields,
            (std::vector<std::string>{"keep", "me", "whole", "please"}));

  // The next save goes through; what the crash left behind is not read.
  ASSERT_TRUE(WriteRemarkFile(path_, NewContent()));
  EXPECT_EQ(Contents(), NewContent());
}

TEST_F(RemarkFileFaultTest, CrashInTheMiddleOfTheWriteKeepsThePreviousFile) {
  const std::string path = path_;
  EXPECT_EQ(CrashedChild([&] {
              RemarkFileCalls calls = SystemRemarkFileCalls();
              calls.write = [](int fd, const void* data, size_t size) -> ssize_t {
                if (::write(fd, data, size / 2) < 0) _exit(1);
                Crash();
              };
              WriteRemarkFile(path, NewContent(), calls);
            }),
            SIGKILL);
  EXPECT_EQ(Contents(), kPrevious);
}

TEST_F(RemarkFileFaultTest, SavesFromOtherProcessesNeverLeaveAPartialFile) {
  const std::vector<std::string> contents = {"a" + std::string(4000, 'A') + ",b,c,d,;",
                                             "e,f" + std::string(6000, 'F') + ",g,h,;"};
  std::vector<pid_t> savers;
  for (const std::string& content : contents) {
    const pid_t child = fork();
    if (child == 0) {
      for (int i = 0; i < 100; ++i) {
        if (!WriteRemarkFile(path_, content)) _exit(1);
      }
      _exit(0);
    }
    savers.push_back(child);
  }
  const std::set<std::string> whole = {kPrevious, contents[0], contents[1]};
  std::vector<int> exits(savers.size(), -1);
  auto anyRunning = [&] {
    bool running = false;
    for (size_t i = 0; i < savers.size(); ++i) {
      int status = 0;
      if (exits[i] >= 0) continue;
      if (waitpid(savers[i], &status, WNOHANG) == savers[i]) {
        exits[i] = WIFEXITED(status) ? WEXITSTATUS(status) : 100;
      } else {
        running = true;
      }
    }
    return running;
  };
  do {
    const std::string now = Contents();
    EXPECT_EQ(whole.count(now), 1u) << "a partial file of " << now.size() << " bytes";
  } while (anyRunning());
  EXPECT_EQ(exits, (std::vector<int>{0, 0}));
  EXPECT_TRUE(whole.count(Contents()) == 1 && Contents() != kPrevious);
  EXPECT_EQ(FilesInDevices().size(), 1u);
}

}  // namespace
}  // namespace t740
