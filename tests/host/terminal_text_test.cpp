#include "hosting/text/terminal_text.h"

#include <gtest/gtest.h>

#include <clocale>

#include "support/gbk.h"

namespace t740::host {
namespace {

class TerminalTextTest : public ::testing::Test {
 protected:
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(TerminalTextTest, ConvertsGbkToAUtf8Terminal) {
  ASSERT_TRUE(std::setlocale(LC_ALL, "C.UTF-8"));
  const TerminalText terminal;
  EXPECT_EQ(terminal.FromGbk(test::Gbk("光口B:STM-LOS")), "光口B:STM-LOS");
  EXPECT_EQ(terminal.FromGbk(""), "");
}

TEST_F(TerminalTextTest, MarksBytesThatAreNotGbkAndACutCharacter) {
  ASSERT_TRUE(std::setlocale(LC_ALL, "C.UTF-8"));
  const TerminalText terminal;
  // 0xFF is no GBK byte; a lead byte at the end lacks its trail byte.
  EXPECT_EQ(terminal.FromGbk("A\xFF"
                             "B"),
            "A?B");
  EXPECT_EQ(terminal.FromGbk(test::Gbk("光") + "\xB9"), "光?");
}

TEST_F(TerminalTextTest, AsciiTerminalShowsOneMarkPerCharacter) {
  std::setlocale(LC_ALL, "C");
  const TerminalText terminal;
  EXPECT_EQ(terminal.FromGbk(test::Gbk("A/C光口")), "A/C??");
}

}  // namespace
}  // namespace t740::host
