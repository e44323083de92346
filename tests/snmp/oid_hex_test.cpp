// The host's own conversions: identifier texts to numeric arcs, hex texts
// to octets and back.
#include <gtest/gtest.h>

#include "hosting/text/hex_octets.h"
#include "hosting/text/oid_text.h"

namespace t740::host {
namespace {

using Arcs = std::vector<uint32_t>;

TEST(OidTextTest, ReadsTheArcsAsDecimalLeadingZerosIncluded) {
  const OidArcs read = ParseOidText("1.3.6.1.4.1.47291.2.1.1.85.1.01.07.11");
  ASSERT_TRUE(read) << read.error;
  EXPECT_EQ(read.arcs, (Arcs{1, 3, 6, 1, 4, 1, 47291, 2, 1, 1, 85, 1, 1, 7, 11}));
  // "08" and "09" are decimal, not octal.
  EXPECT_EQ(ParseOidText("1.3.08.09").arcs, (Arcs{1, 3, 8, 9}));
  EXPECT_EQ(ParseOidText("0.0").arcs, (Arcs{0, 0}));
  EXPECT_EQ(ParseOidText("1.4294967295").arcs, (Arcs{1, 4294967295u}));
  EXPECT_EQ(OidArcsText(read.arcs), "1.3.6.1.4.1.47291.2.1.1.85.1.1.7.11");
}

TEST(OidTextTest, RejectsEmptyArcsOtherCharactersAndOverflow) {
  const char* const kBad[] = {
      "",
      "1",                                    // one arc only
      "1.3.6.1.4.1.47291.2.1.1.85.1.07..11",  // card address "7": an empty field
      ".1.3.6",
      "1.3.6.",
      "1.3.a.6",
      "1.3.-6",
      "1.3. 6",
      "1.3.+6",
      "1.3.6e1",
      "1.4294967296",
      "1.99999999999999999999",
  };
  for (const char* text : kBad) {
    const OidArcs parsed = ParseOidText(text);
    EXPECT_FALSE(parsed) << "'" << text << "'";
    EXPECT_FALSE(parsed.error.empty()) << text;
  }
  EXPECT_NE(ParseOidText("1.3.6.1.4.1.47291.2.1.1.85.1.07..11").error.find("arc 14 is empty"),
            std::string::npos);
}

TEST(OidTextTest, RejectsMoreArcsThanSnmpCarries) {
  std::string text = "1";
  for (size_t i = 1; i < kMaxOidArcs; ++i) text += ".1";
  EXPECT_TRUE(ParseOidText(text));
  EXPECT_FALSE(ParseOidText(text + ".1"));
}

TEST(HexOctetsTest, TurnsHexOfEitherCaseIntoOctetsAndBackUpperCase) {
  const auto octets = OctetsOfHex("0100aBfF");
  ASSERT_TRUE(octets);
  EXPECT_EQ(*octets, std::string("\x01\x00\xAB\xFF", 4));
  EXPECT_EQ(HexOfOctets(*octets), "0100ABFF");
  EXPECT_EQ(OctetsOfHex(""), std::string());
  EXPECT_EQ(HexOfOctets(""), "");
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(OctetsOfHex(HexOfOctets(all)), all);
}

TEST(HexOctetsTest, RefusesOddLengthsAndNonHexCharacters) {
  for (const char* text : {"0", "010", "0G", "g0", "01 0", "0x01", "-1"}) {
    EXPECT_FALSE(OctetsOfHex(text)) << text;
  }
}

}  // namespace
}  // namespace t740::host
