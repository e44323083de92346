#include <gtest/gtest.h>

#include <string>

#include "core/overhead/trace_cut.h"
#include "core/overhead/upper_ascii.h"
#include "support/gbk.h"

namespace t740 {
namespace {

using test::Gbk;

TEST(UpperAsciiTest, RaisesOnlyAsciiLetters) {
  EXPECT_EQ(UpperAscii("0123456789abcdefxyz"), "0123456789ABCDEFXYZ");
  EXPECT_EQ(UpperAscii("ABC 0b@[`{z"), "ABC 0B@[`{Z");
  EXPECT_EQ(UpperAscii(""), "");
}

TEST(UpperAsciiTest, LeavesTrailBytesOfDoubleByteCharactersAlone) {
  // The second byte of these characters is "a" and "f".
  const std::string text = Gbk("癮x癴");
  ASSERT_EQ(text, std::string("\xB0") + "ax" + "\xB0" + "f");
  EXPECT_EQ(UpperAscii(text), std::string("\xB0") + "aX" + "\xB0" + "f");
  EXPECT_EQ(UpperAscii(Gbk("光口a")), Gbk("光口A"));
}

TEST(UpperAsciiTest, LeadByteAtTheEndStandsAlone) {
  EXPECT_EQ(UpperAscii("a\xB0"), "A\xB0");
  // 0x80 is no lead byte, so the letter after it is raised.
  EXPECT_EQ(UpperAscii(std::string("\x80") + "a"), std::string("\x80") + "A");
}

TEST(TraceCutTest, KeepsTextUpToThirtyTwoBytes) {
  const TraceCut whole = CutGbkText(std::string(32, 'a'));
  EXPECT_EQ(whole.bytes, 32u);
  EXPECT_EQ(whole.characters, 32u);
  const TraceCut pasted = CutGbkText(std::string(40, '7'));
  EXPECT_EQ(pasted.bytes, 32u);
  EXPECT_EQ(pasted.characters, 32u);
  EXPECT_EQ(CutGbkText("").bytes, 0u);
}

TEST(TraceCutTest, CutsBeforeADoubleByteCharacterThatWouldBeSplit) {
  const TraceCut split = CutGbkText(std::string(31, '0') + Gbk("方向"));
  EXPECT_EQ(split.bytes, 31u);
  EXPECT_EQ(split.characters, 31u);

  std::string chinese;
  for (int i = 0; i < 17; ++i) chinese += Gbk("接");
  const TraceCut wide = CutGbkText(chinese);
  EXPECT_EQ(wide.bytes, 32u);
  EXPECT_EQ(wide.characters, 16u);

  const TraceCut mixed = CutGbkText("ab" + Gbk("收") + std::string(30, 'c'));
  EXPECT_EQ(mixed.bytes, 32u);
  EXPECT_EQ(mixed.characters, 31u);
}

}  // namespace
}  // namespace t740
