// The exporter's configuration files: the good and bad examples of
// monitoring/config/testdata and the web configuration.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "child_process.h"
#include "monitoring/config/access_config.h"
#include "monitoring/config/web_config.h"
#include "monitoring/config/yaml_reader.h"

namespace t740::monitoring {
namespace {

namespace fs = std::filesystem;

// The test data in a scratch copy, its pass-phrase files made private (git
// keeps no modes).
class TestData {
 public:
  TestData() {
    fs::copy(T740_EXPORTER_TESTDATA, scratch_.Path(), fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(scratch_.Path())) {
      if (entry.path().extension() == ".pass") chmod(entry.path().c_str(), 0600);
    }
  }
  std::vector<fs::path> Files(const std::string& kind) const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(scratch_.Path() + "/" + kind)) {
      if (entry.path().extension() == ".yml") files.push_back(entry.path());
    }
    return files;
  }

 private:
  test::ScratchDirectory scratch_;
};

TEST(ExporterConfigTest, EveryGoodConfigurationLoads) {
  const TestData data;
  const auto files = data.Files("good");
  ASSERT_GE(files.size(), 3u);
  for (const fs::path& file : files) {
    EXPECT_NO_THROW(LoadAccessConfig(file)) << file;
  }
  const AccessConfig config =
      LoadAccessConfig(data.Files("good").front().parent_path() / "v2c_and_v3.yml");
  EXPECT_EQ(config.timeoutMilliseconds, 500);
  EXPECT_EQ(config.retries, 2);
  ASSERT_EQ(config.auths.size(), 5u);
  EXPECT_EQ(config.auths.at("private_v2").community, "private");
  const host::UsmUser& alice = *config.auths.at("alice_v3").user;
  EXPECT_EQ(alice.auth, host::AuthProtocol::Sha256);
  EXPECT_EQ(alice.authPass, "alice-auth");
  EXPECT_EQ(alice.privPass, "alice-priv");
  EXPECT_EQ(config.auths.at("carol_v3").user->level, host::SecurityLevel::NoAuthNoPriv);
  EXPECT_EQ(config.defaultAuth.community, "public");
  EXPECT_EQ(config.notifications.communities, std::vector<std::string>{"public"});
  const AccessConfig alerter =
      LoadAccessConfig(data.Files("good").front().parent_path() / "alerter.yml");
  EXPECT_EQ(alerter.notifications.communities, (std::vector<std::string>{"public", "traps"}));
  EXPECT_EQ(alerter.notifications.users, std::vector<std::string>{"alice_v3"});
  EXPECT_EQ(alerter.notifications.engineId, "80001f8880c0ffee01");
}

// Each bad file's first line says what its error must be:
// "# error: LINE: TEXT".
TEST(ExporterConfigTest, EveryBadConfigurationIsRefusedWithItsFileAndLine) {
  const TestData data;
  const auto files = data.Files("bad");
  ASSERT_GE(files.size(), 10u);
  for (const fs::path& file : files) {
    std::ifstream in(file);
    std::string first;
    std::getline(in, first);
    ASSERT_EQ(first.rfind("# error: ", 0), 0u) << file;
    const std::string expected = first.substr(9);
    const std::string line = expected.substr(0, expected.find(':'));
    try {
      LoadAccessConfig(file);
      ADD_FAILURE() << file << " loaded";
    } catch (const ConfigError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind(file.string() + ":" + line + ": ", 0), 0u) << message;
      EXPECT_NE(message.find(expected.substr(expected.find(':') + 2)), std::string::npos)
          << message;
    }
  }
}

TEST(ExporterConfigTest, APassPhraseFileOthersMayReadIsRefused) {
  const TestData data;
  const fs::path good = data.Files("good").front().parent_path();
  chmod((good / "bob-auth.pass").c_str(), 0644);
  try {
    LoadAccessConfig(good / "v2c_and_v3.yml");
    ADD_FAILURE() << "loaded";
  } catch (const ConfigError& error) {
    EXPECT_NE(std::string(error.what()).find("may be read by others"), std::string::npos)
        << error.what();
  }
}

TEST(WebConfigTest, TlsFilesAreFoundBesideTheFileAndUsersNeedHashes) {
  const WebConfig web = ParseWebConfig(
      "tls_server_config:\n  cert_file: server.crt\n  key_file: /etc/key.pem\n"
      "basic_auth_users:\n  prometheus: $2y$10$abcdefghijklmnopqrstuu\n",
      "/etc/t740/web.yml");
  ASSERT_TRUE(web.tls);
  EXPECT_EQ(web.tls->certFile, "/etc/t740/server.crt");
  EXPECT_EQ(web.tls->keyFile, "/etc/key.pem");
  EXPECT_EQ(web.users.at("prometheus"), "$2y$10$abcdefghijklmnopqrstuu");
  for (const char* bad : {"tls_server_config:\n  cert_file: a.crt\n",
                          "basic_auth_users:\n  prometheus: secret\n", "tls_config: {}\n"}) {
    EXPECT_THROW(ParseWebConfig(bad, "web.yml"), ConfigError) << bad;
  }
}

}  // namespace
}  // namespace t740::monitoring
