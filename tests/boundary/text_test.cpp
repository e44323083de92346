#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "t740/abi.h"

namespace {

TEST(CText, HoldsBytesIncludingZerosAndIsAlwaysTerminated) {
  const CText empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_STREQ(empty.c_str(), "");
  const CText withZero("a\0b", 3);
  EXPECT_EQ(withZero.size(), 3u);
  EXPECT_EQ(withZero.c_str()[3], '\0');
  EXPECT_TRUE(CText(nullptr).empty());
}

TEST(CText, CopiesShareAndCompareByContent) {
  CText a("\xB9\xE2\xBF\xDA");
  CText b = a;
  EXPECT_EQ(a.c_str(), b.c_str());
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(a == "\xB9\xE2\xBF\xDA");
  EXPECT_TRUE("x" != a);
  CText moved = std::move(b);
  EXPECT_TRUE(b.empty());
  EXPECT_EQ(moved, a);
  a = a;
  EXPECT_EQ(a, moved);
}

TEST(CText, CountIsSafeAcrossThreads) {
  const CText shared("shared text");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&shared] {
      for (int i = 0; i < 10000; ++i) {
        CText copy = shared;
        CText another(copy);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(shared, "shared text");
}

}  // namespace
