// The window commands run offscreen as on a machine without a display: the
// pictures they write, the mask they print, and their bad arguments.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

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

TEST_F(HostWindowsTest, ConfigureTakesAPictureOfEveryWindow) {
  const HostRun run = RunHost({"configure", "--screenshots", directory.string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
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
