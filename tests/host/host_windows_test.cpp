// The window commands run offscreen as on a machine without a display: the
// pictures they write, the mask they print, and their bad arguments.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "ids/progress_dialog_ids.h"
#include "run_host.h"

namespace t740::test {
namespace {

namespace fs = std::filesystem;

class HostWindowsTest : public ::testing::Test {
 protected:
  HostWindowsTest() {
    directory = fs::temp_directory_path() /
                ("t740-host-windows-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
  }
  ~HostWindowsTest() override { fs::remove_all(directory); }

  // A real picture: a PNG of a window's size, not an empty file.
  static void ExpectPicture(const fs::path& path) {
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(path.string()))) << path;
    EXPECT_GT(image.width(), 100) << path;
    EXPECT_GT(image.height(), 50) << path;
  }

  fs::path directory;
};

// A card that answers every request leaves nothing for the operator on the
// error stream, not even Qt's platform lines, with no run-time directory given.
TEST_F(HostWindowsTest, ConfigureTakesAPictureOfEveryWindowAndSaysNothingOnItsErrorStream) {
  const HostRun run = RunHostAt(HostPath(), {"configure", "--screenshots", directory.string()},
                                "C.UTF-8", {"XDG_RUNTIME_DIR="});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.err, "");
  for (const char* name : {"poll-progress", "config-device", "config-loopback",
                           "config-section-overhead", "config-path-overhead", "config-port-users",
                           "shield", "thresholds-first-port", "thresholds-second-port"}) {
    const fs::path picture = directory / (std::string(name) + ".png");
    EXPECT_NE(run.out.find("wrote " + picture.string() + "\n"), std::string::npos) << name;
    ExpectPicture(picture);
  }
}

TEST_F(HostWindowsTest, ConfigureWithoutDisplayOpensAndClosesTheWindow) {
  const HostRun run = RunHost({"configure"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.out.find("no display"), std::string::npos);
}

TEST_F(HostWindowsTest, ShieldPrintsTheConfirmedMask) {
  const HostRun run = RunHost({"shield", "--mask", "0100"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "mask (150): 0100" + std::string(146, '0') + "\n");

  const HostRun mismatched = RunHost({"shield", "--mask", "1111", "--length", "5"});
  EXPECT_EQ(mismatched.out, "mask (150): " + std::string(150, '0') + "\n");
}

TEST_F(HostWindowsTest, ShieldAndThresholdsTakeTheirPictures) {
  const fs::path shield = directory / "shield.png";
  fs::create_directories(directory);
  const HostRun run =
      RunHost({"shield", "--mask", std::string(150, '1'), "--screenshot", shield.string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.out.find("mask (150): " + std::string(150, '1')), std::string::npos);
  ExpectPicture(shield);

  const HostRun thresholds = RunHost({"thresholds", "--screenshots", directory.string()});
  ASSERT_EQ(thresholds.exitStatus, 0) << thresholds.err;
  ExpectPicture(directory / "thresholds-first-port.png");
  ExpectPicture(directory / "thresholds-second-port.png");
}

// Each fault that spoils the start-up poll's loopback answer: the page's
// message is told and answered, and the run ends by itself with status 1.
TEST_F(HostWindowsTest, ConfigureAnswersThePageMessageOfEveryFault) {
  for (const char* kind : {"short", "nothing", "untouched", "throw"}) {
    const HostRun run = RunHost({"configure", "--sim-fault", std::string(kind) + ":.11"});
    EXPECT_EQ(run.exitStatus, 1) << kind << "\n" << run.err;
    EXPECT_NE(run.err.find("t740-host: message: 环回控制数据信息不全\n"), std::string::npos)
        << kind << "\n"
        << run.err;
    EXPECT_NE(run.out.find("no display"), std::string::npos) << kind;
  }
  // Only writes are refused, and configure writes nothing.
  EXPECT_EQ(RunHost({"configure", "--sim-fault", "reject-writes:.11"}).exitStatus, 0);
}

TEST_F(HostWindowsTest, MessagesArePicturedInEveryWindowCommand) {
  const HostRun run =
      RunHost({"configure", "--sim-fault", "short:.1", "--screenshots", directory.string()});
  EXPECT_EQ(run.exitStatus, 1) << run.err;
  EXPECT_NE(run.err.find("t740-host: message: 基本属性数据信息不全\n"), std::string::npos)
      << run.err;
  ExpectPicture(directory / "message-1.png");
  EXPECT_NE(run.out.find("wrote " + (directory / "message-1.png").string()), std::string::npos);
  ExpectPicture(directory / "thresholds-first-port.png");

  const HostRun thresholds = RunHost({"thresholds", "--sim-fault", "short:.51"});
  EXPECT_EQ(thresholds.exitStatus, 1) << thresholds.err;
  EXPECT_NE(thresholds.err.find("t740-host: message: 门限设置数据信息不全\n"), std::string::npos)
      << thresholds.err;
}

TEST_F(HostWindowsTest, ATerminalWithoutChineseGetsTheMessageAsQuestionMarks) {
  const HostRun run = RunHost({"configure", "--sim-fault", "nothing:.11"}, "C");
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find("t740-host: message: ??????????\n"), std::string::npos) << run.err;
}

// A card that never answers: the poll worker waits (the window thread is
// free), or a page read waits in the window thread itself.
TEST_F(HostWindowsTest, TheTimeLimitEndsACardThatNeverAnswers) {
  const HostRun poll = RunHost({"--time-limit", "1", "configure", "--sim-fault", "delay=600000:.11",
                                "--screenshots", directory.string()});
  EXPECT_EQ(poll.exitStatus, 1);
  EXPECT_NE(poll.err.find("t740-host: the time limit of 1 second is up; the host was waiting "
                          "for the card's answer to the read of "
                          "1.3.6.1.4.1.47291.2.1.1.85.1.01.07.11\n"),
            std::string::npos)
      << poll.err;
  const std::string progress = std::to_string(ids::progress_dialog::kTemplate);
  EXPECT_NE(poll.err.find("open at the time limit: \"\" (" + progress + ")"), std::string::npos)
      << poll.err;
  ExpectPicture(directory / "time-limit-1.png");
  EXPECT_NE(poll.out.find("wrote " + (directory / "time-limit-1.png").string()), std::string::npos);

  const HostRun page = RunHost({"--time-limit=3", "configure", "--sim-fault", "delay=600000:.13"});
  EXPECT_EQ(page.exitStatus, 1);
  EXPECT_NE(page.err.find("the time limit of 3 seconds is up; the host was waiting for the "
                          "card's answer to the read of 1.3.6.1.4.1.47291.2.1.1.85.1.01.07.13"),
            std::string::npos)
      << page.err;

  const HostRun status =
      RunHost({"--time-limit", "0.5", "--sim-fault", "delay=600000:led", "status"});
  EXPECT_EQ(status.exitStatus, 1);
  EXPECT_NE(status.err.find("the host was waiting for the card's LED status"), std::string::npos)
      << status.err;
}

TEST_F(HostWindowsTest, BadWindowArgumentsExitTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {"configure", "--screenshots"}, {"configure", "--colour", "red"},
      {"shield", "--length", "many"}, {"shield", "--mask", "1", "--mask", "0"},
      {"thresholds", "now"},
  };
  for (const auto& words : bad) {
    const HostRun run = RunHost(words);
    EXPECT_EQ(run.exitStatus, 2) << words[0] << " " << words[1];
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace t740::test
