#include "protocol/identifier.h"

#include <gtest/gtest.h>

#include "core/card/card_address.h"

namespace t740::protocol {
namespace {

TEST(IdentifierTest, ReadsArcFieldsAndGroupOfThePlugInsIdentifiers) {
  const auto read = ParseIdentifier(BuildCardOid("0103", Operation::Read, ".11"));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->arc, Arc::Read);
  EXPECT_EQ(read->address.first, "01");
  EXPECT_EQ(read->address.second, "03");
  EXPECT_EQ(read->suffix, ".11");

  const auto write = ParseIdentifier("1.3.6.1.4.1.47291.2.1.1.85.2.01.3.12");
  ASSERT_TRUE(write);
  EXPECT_EQ(write->arc, Arc::Write);
  EXPECT_EQ(write->address.second, "3");
  EXPECT_EQ(write->suffix, ".12");
}

TEST(IdentifierTest, AcceptsAnEmptySecondField) {
  // Card address "7": the fields are "07" and nothing, two dots in a row.
  const auto id = ParseIdentifier("1.3.6.1.4.1.47291.2.1.1.85.1.07..51");
  ASSERT_TRUE(id);
  EXPECT_EQ(id->address, (AddressFields{"07", ""}));
  EXPECT_EQ(id->suffix, ".51");
}

TEST(IdentifierTest, RejectsTextsOutsideTheSubtreeOrWithoutGroup) {
  EXPECT_FALSE(ParseIdentifier(""));
  EXPECT_FALSE(ParseIdentifier("1.3.6.1.4.1.47291.2.1.2.85.1.01.03.11"));
  EXPECT_FALSE(ParseIdentifier("1.3.6.1.4.1.47291.2.1.1.85.3.01.03.11"));
  EXPECT_FALSE(ParseIdentifier("1.3.6.1.4.1.47291.2.1.1.85.1.01.03"));
  EXPECT_FALSE(ParseIdentifier("1.3.6.1.4.1.47291.2.1.1.85.1.01.03."));
  EXPECT_FALSE(ParseIdentifier("1.3.6.1.4.1.47291.2.1.1.85.1.0103"));
}

TEST(IdentifierTest, CardAddressFieldsMatchThoseThePlugInSends) {
  for (const char* address : {"0103", "103", "1031", "13", "7", ""}) {
    const IdentifierFields sent = SplitCardAddress(address);
    EXPECT_EQ(FieldsOfCardAddress(address), (AddressFields{sent.first, sent.second})) << address;
  }
}

}  // namespace
}  // namespace t740::protocol
