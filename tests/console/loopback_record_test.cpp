#include "core/console/loopback_record.h"

#include <gtest/gtest.h>

namespace t740 {
namespace {

std::array<bool, kLoopbackBoxes> Only(size_t box) {
  std::array<bool, kLoopbackBoxes> on{};
  on[box] = true;
  return on;
}

// Boxes as a text: "1" on, "0" off, "-" left alone.
std::string Shown(const std::array<std::optional<bool>, kLoopbackBoxes>& on) {
  std::string text;
  for (const auto& box : on) text.push_back(!box ? '-' : *box ? '1' : '0');
  return text;
}

TEST(LoopbackRecord, ReadsTheByteMostSignificantBitFirst) {
  // 3C: LLP B and A, RLP D and C.
  EXPECT_EQ(Shown(ParseLoopback("3C")), "00111100");
  EXPECT_EQ(Shown(ParseLoopback("80")), "10000000");
  EXPECT_EQ(Shown(ParseLoopback("01")), "00000001");
  // What follows the byte is not used.
  EXPECT_EQ(Shown(ParseLoopback("ff00AB")), "11111111");
}

TEST(LoopbackRecord, AShortOrMalformedByteLeavesTheBoxesItDoesNotReach) {
  EXPECT_EQ(Shown(ParseLoopback("9")), "1001----");
  EXPECT_EQ(Shown(ParseLoopback("")), "--------");
  // A non-hex character repeats the digit before it, or gives nothing first.
  EXPECT_EQ(Shown(ParseLoopback("Z")), "--------");
  EXPECT_EQ(Shown(ParseLoopback("AZ")), "10101010");
  EXPECT_EQ(Shown(ParseLoopback("ZA")), "1010----");
}

TEST(LoopbackRecord, WritesTwoUpperCaseHexDigits) {
  EXPECT_EQ(BuildLoopbackData({}), "00");
  std::array<bool, kLoopbackBoxes> all;
  all.fill(true);
  EXPECT_EQ(BuildLoopbackData(all), "FF");
  EXPECT_EQ(BuildLoopbackData(Only(0)), "80");  // LLP port D
  EXPECT_EQ(BuildLoopbackData(Only(7)), "01");  // RLP port A
  EXPECT_EQ(BuildLoopbackData({false, false, true, true, true, true, false, false}), "3C");
}

}  // namespace
}  // namespace t740
