#include "core/status/led_decoder.h"

#include <gtest/gtest.h>

#include <string>

namespace t740 {
namespace {

TEST(DecodeLedStates, NeedsTheWholeStatus) {
  EXPECT_EQ(DecodeLedStates(std::string(147, '0')), nullptr);
  ASSERT_NE(DecodeLedStates(std::string(148, '0')), nullptr);
  EXPECT_STREQ(DecodeLedStates(std::string(148, '0')), "002200000000");
  EXPECT_STREQ(DecodeLedStates(std::string(148, 'F')), "002200000000");
}

}  // namespace
}  // namespace t740
