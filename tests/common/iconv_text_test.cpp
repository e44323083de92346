#include "common/iconv_text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/gbk.h"

namespace t740 {
namespace {

class IconvTextTest : public ::testing::Test {
 protected:
  std::string Convert(const char* from, const char* to, std::string_view text,
                      CharacterLength lengthOf) {
    const iconv_t converter = iconv_open(to, from);
    EXPECT_NE(converter, kNoConverter);
    std::string out = ConvertText(converter, text, "#", lengthOf);
    iconv_close(converter);
    return out;
  }
};

TEST_F(IconvTextTest, ConvertsTextsLongerThanOneBufferWhole) {
  std::string utf8;
  for (int i = 0; i < 300; ++i) utf8 += "光口";
  const std::string gbk = Convert("UTF-8", "GBK", utf8, Utf8CharacterLength);
  EXPECT_EQ(gbk, test::Gbk(utf8));
  EXPECT_EQ(Convert("GBK", "UTF-8", gbk, GbkCharacterLength), utf8);
}

TEST_F(IconvTextTest, ReplacesWhatDoesNotConvertAndGoesOn) {
  const std::string gbk = test::Gbk("光");
  // A byte that is no GBK, a lead byte cut off at the end.
  EXPECT_EQ(Convert("GBK", "UTF-8", "A\xFF" + gbk + "\xB9", SingleByte), "A#光#");
  // A character GBK lacks goes as a whole: one replacement for its four bytes.
  EXPECT_EQ(Convert("UTF-8", "GBK",
                    "A\xF0\x9F\x98\x80"
                    "B",
                    Utf8CharacterLength),
            "A#B");
  EXPECT_EQ(Convert("UTF-8", "GBK", "", Utf8CharacterLength), "");
}

TEST(CharacterLength, TakesTheTrailOfALeadByteWhileThereIsOne) {
  EXPECT_EQ(GbkCharacterLength("\xB9\xE2", 2), 2u);
  EXPECT_EQ(GbkCharacterLength("\xB9", 1), 1u);
  EXPECT_EQ(GbkCharacterLength("A", 1), 1u);
  EXPECT_EQ(Utf8CharacterLength("\xE5\x85\x89"
                                "A",
                                4),
            3u);
  EXPECT_EQ(Utf8CharacterLength("\xE5\x85", 2), 2u);
  EXPECT_EQ(SingleByte("\xB9\xE2", 2), 1u);
}

}  // namespace
}  // namespace t740
