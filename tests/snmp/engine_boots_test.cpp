// The agent's engine boots count: kept in its state directory, one more at
// every start, never half-written, and from the clock without a directory.
#include "sim/agent/engine_boots.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "child_process.h"

namespace t740::test {
namespace {

namespace fs = std::filesystem;

std::string Stored(const std::string& directory) {
  std::ifstream file(directory + "/" + sim::kEngineBootsFile);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void Store(const std::string& directory, const std::string& text) {
  std::ofstream(directory + "/" + sim::kEngineBootsFile) << text;
}

TEST(EngineBootsTest, CountsFromOneInAStateDirectoryItMakes) {
  ScratchDirectory scratch;
  const std::string directory = scratch.Path() + "/state/t740-sim";
  EXPECT_EQ(sim::NextStoredEngineBoots(directory), 1u);
  EXPECT_EQ(Stored(directory), "1\n");
  EXPECT_EQ(sim::NextStoredEngineBoots(directory), 2u);
  EXPECT_EQ(sim::NextStoredEngineBoots(directory), 3u);
  EXPECT_EQ(Stored(directory), "3\n");
  // Nothing left beside the count.
  EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);

  Store(directory, "2147483646\n");
  EXPECT_EQ(sim::NextStoredEngineBoots(directory), sim::kEngineBootsMaximum);
  EXPECT_EQ(sim::NextStoredEngineBoots(directory), sim::kEngineBootsMaximum);
}

TEST(EngineBootsTest, AFileWithoutACountOrAnUnwritableDirectoryIsRefusedAndKept) {
  ScratchDirectory scratch;
  for (const char* text :
       {"", "\n", "seven\n", "-1\n", "12 \n", "2147483648\n", "99999999999999999999\n"}) {
    Store(scratch.Path(), text);
    EXPECT_THROW(sim::NextStoredEngineBoots(scratch.Path()), std::runtime_error) << text;
    EXPECT_EQ(Stored(scratch.Path()), text);
  }
  const std::string file = scratch.Path() + "/" + sim::kEngineBootsFile;
  EXPECT_THROW(sim::NextStoredEngineBoots(file), std::runtime_error);
  if (geteuid() != 0) {
    const std::string locked = scratch.Path() + "/locked";
    fs::create_directory(locked);
    Store(locked, "4\n");
    chmod(locked.c_str(), 0500);
    EXPECT_THROW(sim::NextStoredEngineBoots(locked), std::runtime_error);
    chmod(locked.c_str(), 0700);
    EXPECT_EQ(Stored(locked), "4\n");
  }
}

TEST(EngineBootsTest, TheClockCountsSecondsSince2020) {
  constexpr std::time_t k2020 = 1577836800;
  EXPECT_EQ(sim::ClockEngineBoots(0), 1u);
  EXPECT_EQ(sim::ClockEngineBoots(k2020), 1u);
  EXPECT_EQ(sim::ClockEngineBoots(k2020 + 2), 2u);
  EXPECT_LT(sim::ClockEngineBoots(k2020 + 86400), sim::ClockEngineBoots(k2020 + 86401));
  EXPECT_EQ(sim::ClockEngineBoots(k2020 + 4294967296LL), sim::kEngineBootsMaximum);
}

}  // namespace
}  // namespace t740::test
