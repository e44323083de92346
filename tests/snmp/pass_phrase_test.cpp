// The private files pass phrases come from: a file that is no regular file,
// or that another user owns, is refused before a byte of it is read.
#include "protocol/pass_phrase.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>

#include "child_process.h"

namespace t740::test {
namespace {

// Far beyond an open that does not wait; only a reader stuck on the FIFO
// meets it, and is then let go, so the test ends either way.
constexpr auto kStuckReader = std::chrono::seconds(20);
constexpr uid_t kNobody = 65534;

std::string Refusal(const std::string& path) {
  try {
    protocol::ReadPassPhraseFile(path);
  } catch (const protocol::PassPhraseError& error) {
    return error.what();
  }
  return "";
}

TEST(PassPhraseFileTest, AFifoIsRefusedWithoutWaitingForAWriter) {
  ScratchDirectory files;
  const std::string fifo = files.Path() + "/auth.pass";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::future<std::string> refusal = std::async(std::launch::async, Refusal, fifo);
  const bool answered = refusal.wait_for(kStuckReader) == std::future_status::ready;
  // A writer's open lets a reader stuck in its own open go on.
  if (!answered) close(open(fifo.c_str(), O_WRONLY | O_CLOEXEC));
  EXPECT_TRUE(answered) << "the read waited for a writer on the FIFO";
  EXPECT_EQ(refusal.get(), fifo + " is not a regular file");
}

TEST(PassPhraseFileTest, AFileOfAnotherUserIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  ScratchDirectory files;
  const std::string path = files.Path() + "/auth.pass";
  std::ofstream(path) << "auth-phrase\n";
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  ASSERT_EQ(protocol::ReadPassPhraseFile(path), "auth-phrase");
  ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
  EXPECT_EQ(Refusal(path), path + " belongs to user 65534, not to this program's user 0 or root");
}

}  // namespace
}  // namespace t740::test
