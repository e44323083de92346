// Basic authentication's remembered credentials, its hash for unknown
// users, and the gate that bounds how many hashes run at once. The count
// of hashes computed tells what the cache spared, without timing.
#include <gtest/gtest.h>

#include <crypt.h>

#include <thread>
#include <vector>

#include "monitoring/web/basic_auth.h"

namespace t740::monitoring {
namespace {

std::string Hash(const char* password) {
  char salt[CRYPT_GENSALT_OUTPUT_SIZE];
  if (!crypt_gensalt_rn("$2b$", 4, nullptr, 0, salt, sizeof salt)) return "";
  crypt_data work{};
  return crypt_rn(password, salt, &work, sizeof work);
}

constexpr char kRight[] = "Basic cHJvbWV0aGV1czpyaWdodCBob3JzZQ==";  // prometheus:right horse
constexpr char kWrong[] = "Basic cHJvbWV0aGV1czp3cm9uZyBob3JzZQ==";  // prometheus:wrong horse
constexpr char kUnknown[] = "Basic b3RoZXI6cmlnaHQgaG9yc2U=";        // other:right horse

TEST(BasicAuthCacheTest, RightCredentialsAreHashedOnceThoughAskedAtOnceFromManyThreads) {
  const BasicAuth auth({{"prometheus", Hash("right horse")}});
  std::vector<std::thread> threads;
  std::atomic<int> allowed{0};
  for (int k = 0; k < 8; ++k) threads.emplace_back([&] { allowed += auth.Allows(kRight); });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(allowed, 8);
  EXPECT_EQ(auth.HashesComputed(), 1);
  // A wrong password of a remembered user is hashed, refused, and refused
  // again from memory.
  EXPECT_FALSE(auth.Allows(kWrong));
  EXPECT_FALSE(auth.Allows(kWrong));
  EXPECT_EQ(auth.HashesComputed(), 2);
  EXPECT_TRUE(auth.Allows(kRight));
  EXPECT_EQ(auth.HashesComputed(), 2);
}

TEST(BasicAuthCacheTest, AnUnknownUserCostsAHashAsAKnownOneDoes) {
  const BasicAuth auth({{"prometheus", Hash("right horse")}});
  EXPECT_FALSE(auth.Allows(kUnknown));
  EXPECT_EQ(auth.HashesComputed(), 1);
}

TEST(BasicAuthCacheTest, ANewConfigurationForgetsTheOldPassword) {
  const BasicAuth before({{"prometheus", Hash("right horse")}});
  ASSERT_TRUE(before.Allows(kRight));
  const BasicAuth after({{"prometheus", Hash("new horse")}});
  EXPECT_FALSE(after.Allows(kRight));
  EXPECT_TRUE(after.Allows("Basic cHJvbWV0aGV1czpuZXcgaG9yc2U="));  // prometheus:new horse
}

TEST(HashGateTest, ARequestFindingEveryPlaceTakenPastItsWaitIsTurnedAway) {
  HashGate gate(1, std::chrono::milliseconds(0));
  {
    const HashGate::Pass first(gate);
    ASSERT_TRUE(first.Held());
    EXPECT_FALSE(HashGate::Pass(gate).Held());
  }
  EXPECT_TRUE(HashGate::Pass(gate).Held());
}

}  // namespace
}  // namespace t740::monitoring
