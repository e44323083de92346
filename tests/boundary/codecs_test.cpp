#include "core/card/codecs.h"

#include <gtest/gtest.h>

namespace t740 {
namespace {

TEST(HexToBits, ConvertsEachDigitToFourBitsEitherCase) {
  EXPECT_EQ(HexToBits("0A"), "00001010");
  EXPECT_EQ(HexToBits("0a"), "00001010");
  EXPECT_EQ(HexToBits("F9"), "11111001");
  EXPECT_EQ(HexToBits(""), "");
}

TEST(HexToBits, NonDigitRepeatsThePreviousGroupOrAddsNothing) {
  EXPECT_EQ(HexToBits("1G"), "00010001");
  EXPECT_EQ(HexToBits("G1"), "0001");
  EXPECT_EQ(HexToBits("xy"), "");
  // Both bytes of a GBK character repeat the group before them.
  EXPECT_EQ(HexToBits("3\xB9\xE2"), "001100110011");
  EXPECT_EQ(HexToBits(std::string_view("5\0", 2)), "01010101");
}

TEST(HexToBits, BufferFormStopsAtCapacity) {
  char bits[6];
  EXPECT_EQ(HexToBits("FF0", bits, sizeof bits), 6u);
  EXPECT_EQ(std::string(bits, 6), "111111");
}

TEST(BitsToHex, PadsOnTheLeftAndDropsGroupsThatAreNotBits) {
  EXPECT_EQ(BitsToHex("101"), "5");
  EXPECT_EQ(BitsToHex("11111111"), "FF");
  EXPECT_EQ(BitsToHex("00111100"), "3C");
  EXPECT_EQ(BitsToHex(""), "");
  EXPECT_EQ(BitsToHex("00102222"), "2");
}

TEST(DecToHex, ReadsLikeAtoiAndWritesUpperCase) {
  EXPECT_EQ(DecToHex("0"), "0");
  EXPECT_EQ(DecToHex("300"), "12C");
  EXPECT_EQ(DecToHex("65535"), "FFFF");
  EXPECT_EQ(DecToHex("-1"), "FFFFFFFF");
  EXPECT_EQ(DecToHex("12abc"), "C");
  EXPECT_EQ(DecToHex("abc"), "0");
  EXPECT_EQ(DecToHex("  \t+16"), "10");
  EXPECT_EQ(DecToHex(""), "0");
}

TEST(DecToHex, HugeNumbersKeepTheLow32BitsOfTheCLibrarysConversion) {
  // The C library reads into a 64-bit long (saturating at its limit); the
  // 32-bit value is what is left of that after the wrap.
  EXPECT_EQ(DecToHex("4294967296"), "0");
  EXPECT_EQ(DecToHex("4294967297"), "1");
  EXPECT_EQ(DecToHex("-4294967297"), "FFFFFFFF");
  EXPECT_EQ(DecToHex("99999999999999999999999"), "FFFFFFFF");
  EXPECT_EQ(DecToHex("-99999999999999999999999"), "0");
}

TEST(BitsToDec, ReadsBaseTwoAndCountsOtherDigitsWithTheirValue) {
  EXPECT_EQ(BitsToDec("1"), "1");
  EXPECT_EQ(BitsToDec("10"), "2");
  EXPECT_EQ(BitsToDec("101"), "5");
  EXPECT_EQ(BitsToDec("0000000100101100"), "300");
  EXPECT_EQ(BitsToDec("1111111111111111"), "65535");
  EXPECT_EQ(BitsToDec("12"), "4");
  EXPECT_EQ(BitsToDec("1x"), "2");
  EXPECT_EQ(BitsToDec(""), "0");
}

TEST(BitsToDec, LongInputsWrapWithoutUndefinedBehaviour) {
  EXPECT_EQ(BitsToDec(std::string(32, '1')), "-1");
  EXPECT_EQ(BitsToDec("1" + std::string(32, '0')), "0");
}

TEST(AtoiOf, StopsAtTheEndOfTheView) {
  const std::string_view text = std::string_view("1234").substr(0, 2);
  EXPECT_EQ(AtoiOf(text), 12);
  EXPECT_EQ(AtoiOf("-7x"), -7);
  EXPECT_EQ(AtoiOf("- 7"), 0);
}

}  // namespace
}  // namespace t740
