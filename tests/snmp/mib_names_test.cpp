// T740-MIB as a manager uses it: snmpwalk with the module loaded names the
// card's objects that t740-sim serves.
#include <gtest/gtest.h>

#include "child_process.h"

namespace t740::test {
namespace {

TEST(MibNamesTest, SnmpwalkNamesTheCardsObjects) {
  SimAgent agent;
  const ProgramRun walk =
      RunProgram(SnmpWalkPath(), {"-M", std::string(T740_MIB_DIRECTORY) + ":" + T740_MIB_BASE, "-m",
                                  "T740-MIB", "-v2c", "-c", "public", "-t", "1", "-r", "0",
                                  agent.Address(), "1.3.6.1.4.1.47291"});
  ASSERT_EQ(walk.exitStatus, 0) << walk.err;
  EXPECT_EQ(walk.err.find("Cannot"), std::string::npos) << walk.err;
  for (const char* name :
       {"T740-MIB::t740GroupRead.1.7.1 = Hex-STRING:",
        "T740-MIB::t740GroupRead.1.7.11 = Hex-STRING: 01 00 00 84",
        "T740-MIB::t740GroupRead.1.7.51 = Hex-STRING: D8 00 00",
        "T740-MIB::t740StatusTexts.1.7.1 = STRING:", "T740-MIB::t740StatusTexts.1.7.3 = STRING:"}) {
    EXPECT_NE(walk.out.find(name), std::string::npos) << name << " in\n" << walk.out;
  }
}

}  // namespace
}  // namespace t740::test
