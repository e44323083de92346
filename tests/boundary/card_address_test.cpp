#include "core/card/card_address.h"

#include <gtest/gtest.h>

namespace t740 {
namespace {

TEST(SplitCardAddress, FourCharactersSplitTwoAndTwoOthersGetALeadingZero) {
  struct Case {
    const char* address;
    const char* first;
    const char* second;
  };
  const Case cases[] = {{"0103", "01", "03"}, {"103", "01", "03"}, {"1031", "10", "31"},
                        {"13", "01", "3"},    {"7", "07", ""},     {"", "0", ""},
                        {"12345", "01", "23"}};
  for (const Case& c : cases) {
    const IdentifierFields fields = SplitCardAddress(c.address);
    EXPECT_EQ(fields.first, c.first) << c.address;
    EXPECT_EQ(fields.second, c.second) << c.address;
  }
}

TEST(BuildCardOid, JoinsSubtreeOperationFieldsAndSuffix) {
  EXPECT_EQ(BuildCardOid("0103", Operation::Read, ".11"), "1.3.6.1.4.1.47291.2.1.1.85.1.01.03.11");
  EXPECT_EQ(BuildCardOid("13", Operation::Write, ".12"), "1.3.6.1.4.1.47291.2.1.1.85.2.01.3.12");
  // An empty second field leaves two dots in a row.
  EXPECT_EQ(BuildCardOid("7", Operation::Read, ".1"), "1.3.6.1.4.1.47291.2.1.1.85.1.07..1");
}

}  // namespace
}  // namespace t740
