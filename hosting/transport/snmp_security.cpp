#include "hosting/transport/snmp_security.h"

#include <cstdlib>

#include "hosting/errors/host_error.h"
#include "protocol/pass_phrase.h"

namespace t740::host {
namespace {

template <typename Value>
struct Named {
  const char* name;
  Value value;
};

constexpr Named<SnmpVersion> kVersions[] = {{"2c", SnmpVersion::V2c}, {"3", SnmpVersion::V3}};
constexpr Named<SecurityLevel> kLevels[] = {{"noAuthNoPriv", SecurityLevel::NoAuthNoPriv},
                                            {"authNoPriv", SecurityLevel::AuthNoPriv},
                                            {"authPriv", SecurityLevel::AuthPriv}};
constexpr Named<AuthProtocol> kAuthProtocols[] = {
    {"SHA", AuthProtocol::Sha1}, {"SHA-1", AuthProtocol::Sha1}, {"SHA-256", AuthProtocol::Sha256}};
constexpr Named<PrivProtocol> kPrivProtocols[] = {{"AES", PrivProtocol::Aes128},
                                                  {"AES-128", PrivProtocol::Aes128}};

template <typename Value, size_t Count>
std::optional<Value> Find(const Named<Value> (&table)[Count], std::string_view name) {
  for (const Named<Value>& entry : table) {
    if (name == entry.name) return entry.value;
  }
  return std::nullopt;
}

struct PassPhraseSource {
  const char* option;
  const char* variable;
};

constexpr PassPhraseSource kAuthSource = {"--snmp-auth-pass-file", "T740_SNMP_AUTH_PASS"};
constexpr PassPhraseSource kPrivSource = {"--snmp-priv-pass-file", "T740_SNMP_PRIV_PASS"};

std::string PassPhrase(const std::string& file, const PassPhraseSource& source,
                       const EnvironmentLookup& environment, SecurityLevel level) {
  if (!file.empty()) {
    try {
      return protocol::ReadPassPhraseFile(file);
    } catch (const protocol::PassPhraseError& error) {
      throw UsageError(std::string(source.option) + ": " + error.what());
    }
  }
  const std::optional<std::string> phrase = environment(source.variable);
  if (!phrase) {
    throw UsageError(std::string(SecurityLevelName(level)) + " needs a pass phrase: " +
                     source.option + " FILE, or " + source.variable + " in the environment");
  }
  if (const auto problem = protocol::PassPhraseProblem(*phrase)) {
    throw UsageError(std::string(source.variable) + ": " + *problem);
  }
  return *phrase;
}

}  // namespace

std::optional<SnmpVersion> SnmpVersionNamed(std::string_view name) {
  return Find(kVersions, name);
}
std::optional<SecurityLevel> SecurityLevelNamed(std::string_view name) {
  return Find(kLevels, name);
}
std::optional<AuthProtocol> AuthProtocolNamed(std::string_view name) {
  return Find(kAuthProtocols, name);
}
std::optional<PrivProtocol> PrivProtocolNamed(std::string_view name) {
  return Find(kPrivProtocols, name);
}

const char* SecurityLevelName(SecurityLevel level) {
  for (const auto& entry : kLevels) {
    if (entry.value == level) return entry.name;
  }
  return "?";
}

EnvironmentLookup ProcessEnvironment() {
  return [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
  };
}

UsmUser ResolveUsmUser(const SnmpV3Options& options, const EnvironmentLookup& environment) {
  if (options.user.empty()) throw UsageError("--snmp-version 3 needs the user: --snmp-user NAME");
  UsmUser user{options.user, options.level.value_or(SecurityLevel::AuthPriv),
               options.auth, options.priv,
               "",           ""};
  if (user.level != SecurityLevel::NoAuthNoPriv) {
    user.authPass = PassPhrase(options.authPassFile, kAuthSource, environment, user.level);
  }
  if (user.level == SecurityLevel::AuthPriv) {
    user.privPass = PassPhrase(options.privPassFile, kPrivSource, environment, user.level);
  }
  return user;
}

}  // namespace t740::host
