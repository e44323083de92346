// The SNMPv3 options of t740-host and the users file of t740-sim, from
// outside text: the host's command line (words one a line) with the pass
// phrases from a fuzzed environment, and the sim's user lines. Whatever
// comes in is taken or refused with a usage error; what is taken holds
// only known names and pass phrases USM accepts.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "host/commands/command_line.h"
#include "hosting/errors/host_error.h"
#include "protocol/pass_phrase.h"
#include "sim/agent/sim_options.h"
#include "sim/agent/usm_users.h"

namespace {

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool IsPassPhrase(const std::string& phrase) {
  return !t740::protocol::PassPhraseProblem(phrase).has_value();
}

void CheckHostOptions(std::string_view words, std::string authPass, std::string privPass) {
  t740::host::CommandLine line;
  try {
    line = t740::host::ParseCommandLine(Lines(words));
  } catch (const t740::host::UsageError& error) {
    FUZZ_CHECK(*error.what() != '\0');
    return;
  }
  t740::host::SnmpV3Options v3 = line.options.snmp.v3;
  // Files are not the fuzzer's to name; the environment gives the phrases.
  v3.authPassFile.clear();
  v3.privPassFile.clear();
  const auto environment = [&](const char* name) -> std::optional<std::string> {
    const std::string& value = std::string(name) == "T740_SNMP_AUTH_PASS" ? authPass : privPass;
    if (value.empty()) return std::nullopt;
    return value;
  };
  try {
    const t740::host::UsmUser user = t740::host::ResolveUsmUser(v3, environment);
    FUZZ_CHECK(!user.name.empty());
    const bool auth = user.level != t740::host::SecurityLevel::NoAuthNoPriv;
    const bool priv = user.level == t740::host::SecurityLevel::AuthPriv;
    FUZZ_CHECK(auth == !user.authPass.empty());
    FUZZ_CHECK(priv == !user.privPass.empty());
    FUZZ_CHECK(!auth || (user.authPass == authPass && IsPassPhrase(user.authPass)));
    FUZZ_CHECK(!priv || (user.privPass == privPass && IsPassPhrase(user.privPass)));
  } catch (const t740::host::UsageError& error) {
    FUZZ_CHECK(*error.what() != '\0');
  }
}

void CheckUsersFile(std::string_view text) {
  try {
    for (const t740::sim::UsmUserEntry& user : t740::sim::ParseUsmUsers(std::string(text))) {
      FUZZ_CHECK(!user.name.empty());
      FUZZ_CHECK(user.level == "noauth" || user.level == "auth" || user.level == "priv");
      FUZZ_CHECK(user.auth.empty() == (user.level == "noauth"));
      FUZZ_CHECK(user.auth.empty() || IsPassPhrase(user.authPass));
      FUZZ_CHECK(user.priv.empty() == (user.level != "priv"));
      FUZZ_CHECK(user.priv.empty() || (user.priv == "AES" && IsPassPhrase(user.privPass)));
    }
  } catch (const t740::sim::SimUsageError& error) {
    FUZZ_CHECK(*error.what() != '\0');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  if (input.Flag()) {
    CheckUsersFile(input.Rest());
    return 0;
  }
  std::string authPass(input.ShortText());
  std::string privPass(input.ShortText());
  CheckHostOptions(input.Rest(), std::move(authPass), std::move(privPass));
  return 0;
}
