// How the host proves itself to the agent: SNMPv2c communities, or an
// SNMPv3 user of the User-based Security Model with its security level,
// authentication (HMAC-SHA-1 or HMAC-SHA-256) and privacy (AES-128).
#ifndef T740_HOSTING_TRANSPORT_SNMP_SECURITY_H
#define T740_HOSTING_TRANSPORT_SNMP_SECURITY_H

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace t740::host {

enum class SnmpVersion { V2c, V3 };
enum class SecurityLevel { NoAuthNoPriv, AuthNoPriv, AuthPriv };
enum class AuthProtocol { Sha1, Sha256 };
enum class PrivProtocol { Aes128 };

// What the command line says of the v3 user; the pass phrases themselves
// are read only when the transport starts.
struct SnmpV3Options {
  std::string user;
  std::optional<SecurityLevel> level;  // authPriv unless given
  AuthProtocol auth = AuthProtocol::Sha1;
  PrivProtocol priv = PrivProtocol::Aes128;
  std::string authPassFile;  // empty: T740_SNMP_AUTH_PASS
  std::string privPassFile;  // empty: T740_SNMP_PRIV_PASS
};

// A v3 user ready for a session.
struct UsmUser {
  std::string name;
  SecurityLevel level;
  AuthProtocol auth;
  PrivProtocol priv;
  std::string authPass;  // empty at noAuthNoPriv
  std::string privPass;  // empty below authPriv
};

std::optional<SnmpVersion> SnmpVersionNamed(std::string_view name);
std::optional<SecurityLevel> SecurityLevelNamed(std::string_view name);
std::optional<AuthProtocol> AuthProtocolNamed(std::string_view name);
std::optional<PrivProtocol> PrivProtocolNamed(std::string_view name);
const char* SecurityLevelName(SecurityLevel level);

// The environment's value of a name, or nothing.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
EnvironmentLookup ProcessEnvironment();

// The user with its pass phrases from their files or the environment.
// Throws UsageError for a missing user or pass phrase, a pass-phrase file
// that cannot be read, is readable by others, or holds no USM pass phrase.
UsmUser ResolveUsmUser(const SnmpV3Options& options, const EnvironmentLookup& environment);

}  // namespace t740::host

#endif
