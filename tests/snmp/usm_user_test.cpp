// The host's SNMPv3 user as the transport takes it from its options: the
// pass phrases from their files or else the environment, and what is
// missing or too short named.
#include <gtest/gtest.h>

#include <map>

#include "hosting/errors/host_error.h"
#include "hosting/transport/snmp_security.h"

namespace t740::host {
namespace {

EnvironmentLookup Environment(std::map<std::string, std::string> values) {
  return [values](const char* name) -> std::optional<std::string> {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

std::string UsageMessage(const SnmpV3Options& options, const EnvironmentLookup& environment) {
  try {
    ResolveUsmUser(options, environment);
  } catch (const UsageError& error) {
    return error.what();
  }
  return "";
}

TEST(UsmUserTest, PassPhrasesComeFromTheEnvironmentWithoutFiles) {
  SnmpV3Options options;
  options.user = "alice";
  const UsmUser user =
      ResolveUsmUser(options, Environment({{"T740_SNMP_AUTH_PASS", "auth-phrase"},
                                           {"T740_SNMP_PRIV_PASS", "priv-phrase"}}));
  EXPECT_EQ(user.level, SecurityLevel::AuthPriv);
  EXPECT_EQ(user.authPass, "auth-phrase");
  EXPECT_EQ(user.privPass, "priv-phrase");

  options.level = SecurityLevel::AuthNoPriv;
  EXPECT_EQ(ResolveUsmUser(options, Environment({{"T740_SNMP_AUTH_PASS", "auth-phrase"}})).privPass,
            "");
  options.level = SecurityLevel::NoAuthNoPriv;
  EXPECT_EQ(ResolveUsmUser(options, Environment({})).authPass, "");
}

TEST(UsmUserTest, MissingOrShortPassPhrasesAreNamed) {
  SnmpV3Options options;
  options.user = "alice";
  EXPECT_NE(UsageMessage(options, Environment({}))
                .find("authPriv needs a pass phrase: --snmp-auth-pass-file"),
            std::string::npos);
  EXPECT_NE(UsageMessage(options, Environment({{"T740_SNMP_AUTH_PASS", "1234567"}}))
                .find("T740_SNMP_AUTH_PASS: the pass phrase has 7 characters"),
            std::string::npos);
  EXPECT_NE(UsageMessage(options, Environment({{"T740_SNMP_AUTH_PASS", ""}})).find("empty"),
            std::string::npos);
  EXPECT_NE(UsageMessage(options, Environment({{"T740_SNMP_AUTH_PASS", "12345678"}}))
                .find("T740_SNMP_PRIV_PASS"),
            std::string::npos);
  options.user.clear();
  EXPECT_NE(UsageMessage(options, Environment({})).find("--snmp-user"), std::string::npos);
}

}  // namespace
}  // namespace t740::host
