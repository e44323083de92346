// SNMPv3 on both sides: net-snmp's own snmpget and snmpset against
// t740-sim for each security level and each refusal of the User-based
// Security Model, t740-host --snmp-version 3 end to end, and the pass-phrase
// files and names both programs refuse.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>

#include "child_process.h"

namespace t740::test {
namespace {

const std::string kReadLoopback = "1.3.6.1.4.1.47291.2.1.1.85.1.1.7.11";
const std::string kWriteLoopback = "1.3.6.1.4.1.47291.2.1.1.85.2.1.7.11";

std::string WriteFile(const ScratchDirectory& directory, const std::string& name,
                      const std::string& text, mode_t mode = 0600) {
  const std::string path = directory.Path() + "/" + name;
  std::ofstream(path) << text;
  chmod(path.c_str(), mode);
  return path;
}

std::string HexValue(const std::string& printed) {
  std::string hex;
  for (char c : printed) {
    if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
  }
  return hex;
}

// A tool's security arguments, as -v3 takes them.
struct Security {
  const char* user;
  const char* level;
  const char* auth;
  const char* authPass;
  const char* privPass;
};

std::vector<std::string> V3(const Security& s) {
  std::vector<std::string> arguments = {"-v3", "-u", s.user, "-l", s.level};
  if (s.auth) arguments.insert(arguments.end(), {"-a", s.auth, "-A", s.authPass});
  if (s.privPass) arguments.insert(arguments.end(), {"-x", "AES", "-X", s.privPass});
  return arguments;
}

const char kUsers[] =
    "# name level auth pass priv pass\n"
    "alice authPriv SHA-256 alice-auth AES alice-priv\n"
    "bob authNoPriv SHA bob-auth-1\n"
    "\n"
    "carol noAuthNoPriv\n";

class AgentV3Test : public ::testing::Test {
 protected:
  AgentV3Test() : agent({"--v3-users", WriteFile(files, "users", kUsers), "--no-v2c"}) {}

  std::vector<std::string> Tool(std::vector<std::string> security, const std::string& oid) {
    security.insert(security.end(), {"-t", "1", "-r", "0", agent.Address(), oid});
    return security;
  }
  ProgramRun Get(const std::vector<std::string>& security) {
    std::vector<std::string> arguments = Tool(security, kReadLoopback);
    arguments.insert(arguments.begin(), "-Oqvx");
    return RunProgram(SnmpGetPath(), arguments);
  }
  ProgramRun Set(const std::vector<std::string>& security, const std::string& hex) {
    std::vector<std::string> arguments = Tool(security, kWriteLoopback);
    arguments.insert(arguments.end(), {"x", hex});
    return RunProgram(SnmpSetPath(), arguments);
  }
  std::string Loopback() {
    return HexValue(Get(V3({"alice", "authPriv", "SHA-256", "alice-auth", "alice-priv"})).out);
  }

  ScratchDirectory files;
  SimAgent agent;
};

TEST_F(AgentV3Test, EachUserReadsAndWritesAtItsLevel) {
  const Security kUsersAtTheirLevels[] = {
      {"alice", "authPriv", "SHA-256", "alice-auth", "alice-priv"},
      {"bob", "authNoPriv", "SHA", "bob-auth-1", nullptr},
      {"carol", "noAuthNoPriv", nullptr, nullptr, nullptr},
  };
  const char* const kValues[] = {"01000005", "01000011", "01000084"};
  for (size_t i = 0; i < std::size(kUsersAtTheirLevels); ++i) {
    const std::vector<std::string> security = V3(kUsersAtTheirLevels[i]);
    const ProgramRun set = Set(security, kValues[i]);
    EXPECT_EQ(set.exitStatus, 0) << kUsersAtTheirLevels[i].user << ": " << set.err;
    const ProgramRun get = Get(security);
    EXPECT_EQ(get.exitStatus, 0) << get.err;
    EXPECT_EQ(HexValue(get.out), kValues[i]) << kUsersAtTheirLevels[i].user;
  }
}

TEST_F(AgentV3Test, RefusedRequestsChangeNothing) {
  struct Refusal {
    const char* what;
    std::vector<std::string> security;
    const char* said;
  };
  const Refusal kRefusals[] = {
      {"wrong authentication pass phrase",
       V3({"alice", "authPriv", "SHA-256", "not-alices", "alice-priv"}), "Authentication failure"},
      {"wrong authentication protocol",
       V3({"alice", "authPriv", "SHA", "alice-auth", "alice-priv"}), "Authentication failure"},
      // The agent cannot decrypt the request and drops it.
      {"wrong privacy pass phrase",
       V3({"alice", "authPriv", "SHA-256", "alice-auth", "not-alices"}), "Timeout"},
      {"unknown user", V3({"mallory", "authNoPriv", "SHA", "bob-auth-1", nullptr}),
       "Unknown user name"},
      {"lower level than the user's", V3({"alice", "authNoPriv", "SHA-256", "alice-auth", nullptr}),
       "authorizationError"},
      {"no authentication for an authenticated user",
       V3({"bob", "noAuthNoPriv", nullptr, nullptr, nullptr}), "authorizationError"},
      {"a level the user has no keys for",
       V3({"carol", "authNoPriv", "SHA", "bob-auth-1", nullptr}), "Unsupported security level"},
      {"SNMPv2c, refused altogether", {"-v2c", "-c", "private"}, "Timeout"},
  };
  for (const Refusal& refusal : kRefusals) {
    const ProgramRun set = Set(refusal.security, "01000005");
    EXPECT_NE(set.exitStatus, 0) << refusal.what;
    EXPECT_NE((set.err + set.out).find(refusal.said), std::string::npos)
        << refusal.what << ": " << set.err << set.out;
  }
  EXPECT_EQ(Loopback(), "01000084");
}

TEST(AgentV3OptionsTest, PrintsItsEngineIdAndRefusesBadUserFiles) {
  ScratchDirectory files;
  SimAgent agent({"--v3-users", WriteFile(files, "users", "carol noAuthNoPriv\n")});
  EXPECT_EQ(agent.EngineId(),
            "0x80001F8804" + std::string("7437343") + "02D30313037403139322E3136382E312E313030");

  struct Case {
    const char* what;
    std::string text;
    mode_t mode;
    const char* said;
  };
  const Case kCases[] = {
      {"readable by the group", "carol noAuthNoPriv\n", 0640, "may be read by others"},
      {"readable by all", "carol noAuthNoPriv\n", 0644, "chmod 600"},
      {"no user", "# nobody\n", 0600, "no user"},
      {"short pass phrase", "bob authNoPriv SHA seven77\n", 0600, "USM needs 8 or more"},
      {"unknown protocol", "bob authNoPriv MD5 bob-auth-1\n", 0600,
       "unknown authentication protocol 'MD5'"},
      {"unknown privacy", "al authPriv SHA al-auth-1 DES al-priv-1\n", 0600,
       "unknown privacy protocol 'DES'"},
      {"unknown level", "al secret\n", 0600, "security level"},
      {"missing words", "al authPriv SHA al-auth-1\n", 0600, "takes 6 words"},
      {"twice", "carol noAuthNoPriv\ncarol noAuthNoPriv\n", 0600, "given twice"},
  };
  for (const Case& c : kCases) {
    const ProgramRun run =
        RunProgram(SimAgentPath(), {"--v3-users", WriteFile(files, "bad", c.text, c.mode)});
    EXPECT_EQ(run.exitStatus, 2) << c.what;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << c.what << ": " << run.err;
  }
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"--v3-users", files.Path() + "/missing"}, {"--no-v2c"}, {"--no-v2c=yes"}}) {
    const ProgramRun run = RunProgram(SimAgentPath(), arguments);
    EXPECT_EQ(run.exitStatus, 2) << arguments[0] << ": " << run.err;
  }
}

class HostV3Test : public ::testing::Test {
 protected:
  HostV3Test()
      : agent({"--v3-users", WriteFile(files, "users", kUsers)}),
        authFile(WriteFile(files, "auth", "alice-auth\n")),
        privFile(WriteFile(files, "priv", "alice-priv")) {}

  std::vector<std::string> Host(std::vector<std::string> more) {
    std::vector<std::string> arguments = {
        "--snmp", agent.Address(),        "--trace", "--snmp-version", "3", "--snmp-user",
        "alice",  "--snmp-auth-protocol", "SHA-256"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
  }

  ScratchDirectory files;
  SimAgent agent;
  std::string authFile;
  std::string privFile;
};

TEST_F(HostV3Test, StatusAndTheWindowsRunOverAuthPriv) {
  const ProgramRun status = RunProgram(
      HostPath(),
      Host({"--snmp-auth-pass-file", authFile, "--snmp-priv-pass-file", privFile, "status"}));
  ASSERT_EQ(status.exitStatus, 0) << status.err;
  EXPECT_EQ(status.err, "");
  EXPECT_NE(status.out.find("(SNMPv3 agent at " + agent.Address() + ", user alice, authPriv)"),
            std::string::npos)
      << status.out;
  EXPECT_NE(status.out.find("光口A"), std::string::npos);
  const ProgramRun thresholds = RunProgram(
      HostPath(),
      Host({"--snmp-auth-pass-file", authFile, "--snmp-priv-pass-file", privFile, "thresholds"}));
  EXPECT_EQ(thresholds.exitStatus, 0) << thresholds.err;
  EXPECT_EQ(thresholds.err.find("t740-host:"), std::string::npos) << thresholds.err;
}

TEST_F(HostV3Test, AWrongPassPhraseFailsEveryRequest) {
  const ProgramRun run =
      RunProgram(HostPath(), Host({"--snmp-auth-pass-file", WriteFile(files, "wrong", "not-alices"),
                                   "--snmp-priv-pass-file", privFile, "status"}));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find("Authentication failure"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("no alarm status from the card"), std::string::npos) << run.err;
}

TEST_F(HostV3Test, BadPassPhrasesAndNamesAreUsageErrors) {
  struct Case {
    const char* what;
    std::vector<std::string> words;
    const char* said;
  };
  const std::string missing = files.Path() + "/missing";
  const Case kCases[] = {
      {"missing file",
       {"--snmp-auth-pass-file", missing, "--snmp-priv-pass-file", privFile},
       "cannot read"},
      {"empty file",
       {"--snmp-auth-pass-file", WriteFile(files, "empty", ""), "--snmp-priv-pass-file", privFile},
       "empty"},
      {"only a line break",
       {"--snmp-auth-pass-file", WriteFile(files, "nl", "\n"), "--snmp-priv-pass-file", privFile},
       "empty"},
      {"seven characters",
       {"--snmp-auth-pass-file", authFile, "--snmp-priv-pass-file",
        WriteFile(files, "short", "1234567\n")},
       "USM needs 8 or more"},
      {"group may read",
       {"--snmp-auth-pass-file", WriteFile(files, "open", "alice-auth", 0640),
        "--snmp-priv-pass-file", privFile},
       "chmod 600"},
      {"others may write",
       {"--snmp-auth-pass-file", WriteFile(files, "open2", "alice-auth", 0602),
        "--snmp-priv-pass-file", privFile},
       "may be read by others"},
      {"a directory",
       {"--snmp-auth-pass-file", files.Path(), "--snmp-priv-pass-file", privFile},
       "not a regular file"},
      {"no privacy pass phrase", {"--snmp-auth-pass-file", authFile}, "T740_SNMP_PRIV_PASS"},
      {"unknown auth protocol", {"--snmp-auth-protocol", "MD5"}, "unknown 'MD5'"},
      {"unknown priv protocol", {"--snmp-priv-protocol", "DES"}, "unknown 'DES'"},
      {"unknown level", {"--snmp-security-level", "secret"}, "unknown 'secret'"},
      {"unknown version", {"--snmp-version", "1"}, "unknown '1'"},
  };
  for (const Case& c : kCases) {
    std::vector<std::string> words = Host(c.words);
    words.push_back("status");
    const ProgramRun run = RunProgram(HostPath(), words);
    EXPECT_EQ(run.exitStatus, 2) << c.what << ": " << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << c.what << ": " << run.err;
  }
  const ProgramRun noUser =
      RunProgram(HostPath(), {"--snmp", agent.Address(), "--snmp-version", "3", "status"});
  EXPECT_EQ(noUser.exitStatus, 2);
  EXPECT_NE(noUser.err.find("--snmp-user NAME"), std::string::npos) << noUser.err;
  const ProgramRun v2cWithUser =
      RunProgram(HostPath(), {"--snmp", agent.Address(), "--snmp-user", "alice", "status"});
  EXPECT_EQ(v2cWithUser.exitStatus, 2);
  EXPECT_NE(v2cWithUser.err.find("need --snmp-version 3"), std::string::npos) << v2cWithUser.err;
}

}  // namespace
}  // namespace t740::test
