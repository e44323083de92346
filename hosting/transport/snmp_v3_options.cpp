#include "hosting/transport/snmp_v3_options.h"

#include "hosting/errors/host_error.h"

namespace t740::host {
namespace {

template <typename Value>
Value Named(std::optional<Value> (*lookup)(std::string_view), const char* option,
            const std::string& value, const char* choices) {
  const std::optional<Value> named = lookup(value);
  if (!named) {
    throw UsageError(std::string(option) + ": unknown '" + value + "'; one of " + choices);
  }
  return *named;
}

std::string NotEmpty(const char* option, const std::string& value) {
  if (value.empty()) throw UsageError(std::string(option) + ": the value is empty");
  return value;
}

}  // namespace

void StoreSnmpVersion(HostOptions& options, const std::string& value) {
  options.snmp.version = Named(SnmpVersionNamed, "--snmp-version", value, "2c, 3");
}

void StoreSnmpUser(HostOptions& options, const std::string& value) {
  options.snmp.v3.user = NotEmpty("--snmp-user", value);
}

void StoreSnmpSecurityLevel(HostOptions& options, const std::string& value) {
  options.snmp.v3.level = Named(SecurityLevelNamed, "--snmp-security-level", value,
                                "noAuthNoPriv, authNoPriv, authPriv");
}

void StoreSnmpAuthProtocol(HostOptions& options, const std::string& value) {
  options.snmp.v3.auth = Named(AuthProtocolNamed, "--snmp-auth-protocol", value, "SHA, SHA-256");
}

void StoreSnmpPrivProtocol(HostOptions& options, const std::string& value) {
  options.snmp.v3.priv = Named(PrivProtocolNamed, "--snmp-priv-protocol", value, "AES");
}

void StoreSnmpAuthPassFile(HostOptions& options, const std::string& value) {
  options.snmp.v3.authPassFile = NotEmpty("--snmp-auth-pass-file", value);
}

void StoreSnmpPrivPassFile(HostOptions& options, const std::string& value) {
  options.snmp.v3.privPassFile = NotEmpty("--snmp-priv-pass-file", value);
}

void CheckSnmpVersionOptions(const SnmpOptions& snmp) {
  if (snmp.version == SnmpVersion::V3) return;
  const SnmpV3Options& v3 = snmp.v3;
  const bool given = !v3.user.empty() || v3.level || !v3.authPassFile.empty() ||
                     !v3.privPassFile.empty() || v3.auth != AuthProtocol::Sha1;
  if (given) throw UsageError("the SNMPv3 options need --snmp-version 3");
}

}  // namespace t740::host
