// The exporter's two YAML files from outside text: its configuration and
// the web configuration. Whatever comes in is taken or refused with an
// error naming the file and a line; what is taken keeps to the bounds and
// gives every SNMPv3 user the pass phrases its level needs.
#include <string>

#include "fuzz_input.h"
#include "monitoring/config/access_config.h"
#include "monitoring/config/web_config.h"
#include "protocol/pass_phrase.h"

namespace {

constexpr char kPath[] = "/etc/t740/fuzz.yml";
constexpr char kPhrase[] = "a pass phrase";

// Files are not the fuzzer's to read: a name with "missing" in it is
// refused, any other gives one phrase.
std::string PassPhrase(const std::string& path) {
  if (path.find("missing") != std::string::npos) throw t740::protocol::PassPhraseError(path);
  return kPhrase;
}

bool NamesThePlace(const char* error) {
  const std::string text = error;
  return text.rfind(std::string(kPath) + ":", 0) == 0 && text.size() > sizeof kPath + 1;
}

void CheckConfig(const std::string& text) {
  using t740::host::SecurityLevel;
  try {
    const t740::monitoring::AccessConfig config =
        t740::monitoring::ParseAccessConfig(text, kPath, PassPhrase);
    FUZZ_CHECK(config.timeoutMilliseconds >= 1 &&
               config.timeoutMilliseconds <= t740::monitoring::kTimeoutMaximumMilliseconds);
    FUZZ_CHECK(config.retries >= 0 && config.retries <= t740::monitoring::kRetriesMaximum);
    for (const auto& [name, auth] : config.auths) {
      FUZZ_CHECK(!name.empty());
      FUZZ_CHECK(auth.user.has_value() == (auth.version == t740::host::SnmpVersion::V3));
      if (!auth.user) {
        FUZZ_CHECK(!auth.community.empty());
        continue;
      }
      FUZZ_CHECK(!auth.user->name.empty());
      FUZZ_CHECK((auth.user->level != SecurityLevel::NoAuthNoPriv) ==
                 (auth.user->authPass == kPhrase));
      FUZZ_CHECK((auth.user->level == SecurityLevel::AuthPriv) == (auth.user->privPass == kPhrase));
    }
  } catch (const t740::monitoring::ConfigError& error) {
    FUZZ_CHECK(NamesThePlace(error.what()));
  }
}

void CheckWebConfig(const std::string& text) {
  try {
    const t740::monitoring::WebConfig web = t740::monitoring::ParseWebConfig(text, kPath);
    if (web.tls) FUZZ_CHECK(!web.tls->certFile.empty() && !web.tls->keyFile.empty());
    for (const auto& [name, hash] : web.users) {
      FUZZ_CHECK(!name.empty() && name.find(':') == std::string::npos);
      FUZZ_CHECK(!hash.empty() && hash[0] == '$');
    }
  } catch (const t740::monitoring::ConfigError& error) {
    FUZZ_CHECK(NamesThePlace(error.what()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const bool web = input.Flag();
  const std::string text(input.Rest());
  if (web) {
    CheckWebConfig(text);
  } else {
    CheckConfig(text);
  }
  return 0;
}
