#include "hosting/transport/usm_keys.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <cstring>
#include <stdexcept>

namespace t740::host {
namespace {

struct ProtocolOid {
  const oid* name;
  size_t length;
};

struct AuthProtocolOid {
  AuthProtocol protocol;
  ProtocolOid oid;
};

const AuthProtocolOid kAuthProtocolOids[] = {
    {AuthProtocol::Sha1, {usmHMACSHA1AuthProtocol, OID_LENGTH(usmHMACSHA1AuthProtocol)}},
    {AuthProtocol::Sha256,
     {usmHMAC192SHA256AuthProtocol, OID_LENGTH(usmHMAC192SHA256AuthProtocol)}},
};

const ProtocolOid kNoAuth = {usmNoAuthProtocol, OID_LENGTH(usmNoAuthProtocol)};
const ProtocolOid kNoPriv = {usmNoPrivProtocol, OID_LENGTH(usmNoPrivProtocol)};
// AES-128 is the one privacy protocol.
const ProtocolOid kAes = {usmAESPrivProtocol, OID_LENGTH(usmAESPrivProtocol)};

ProtocolOid AuthOid(AuthProtocol protocol) {
  for (const AuthProtocolOid& entry : kAuthProtocolOids) {
    if (entry.protocol == protocol) return entry.oid;
  }
  return kAuthProtocolOids[0].oid;
}

ProtocolOid AuthOidAt(const UsmUser& user) {
  return user.level == SecurityLevel::NoAuthNoPriv ? kNoAuth : AuthOid(user.auth);
}

ProtocolOid PrivOidAt(const UsmUser& user) {
  return user.level == SecurityLevel::AuthPriv ? kAes : kNoPriv;
}

u_char* Bytes(std::string& text) {
  return reinterpret_cast<u_char*>(text.data());
}

std::string MasterKey(ProtocolOid protocol, std::string phrase) {
  u_char key[USM_AUTH_KU_LEN];
  size_t length = sizeof key;
  if (generate_Ku(protocol.name, protocol.length, Bytes(phrase), phrase.size(), key, &length) !=
      SNMPERR_SUCCESS) {
    throw std::runtime_error("cannot make a key from the pass phrase");
  }
  return std::string(reinterpret_cast<const char*>(key), length);
}

std::string LocalKey(ProtocolOid protocol, std::string engineId, std::string master) {
  if (master.empty()) return "";
  u_char key[USM_AUTH_KU_LEN];
  size_t length = sizeof key;
  if (generate_kul(protocol.name, protocol.length, Bytes(engineId), engineId.size(), Bytes(master),
                   master.size(), key, &length) != SNMPERR_SUCCESS) {
    throw std::runtime_error("cannot localise the key to the agent's engine");
  }
  return std::string(reinterpret_cast<const char*>(key), length);
}

// Replaced only when it differs: most exchanges install what is there.
void SetOctets(u_char*& field, size_t& length, const std::string& value) {
  if (field && length == value.size() && std::memcmp(field, value.data(), length) == 0) return;
  SNMP_FREE(field);
  length = 0;
  if (value.empty()) return;
  field = static_cast<u_char*>(netsnmp_memdup(value.data(), value.size()));
  if (field) length = value.size();
}

void SetOid(oid*& field, size_t& length, ProtocolOid value) {
  if (field && snmp_oid_compare(field, length, value.name, value.length) == 0) return;
  SNMP_FREE(field);
  field = snmp_duplicate_objid(value.name, value.length);
  length = field ? value.length : 0;
}

usmUser* NewEntry(const std::string& engineId, const std::string& name) {
  usmUser* entry = usm_create_user();
  if (!entry) throw std::runtime_error("no memory for the SNMPv3 user");
  entry->name = strdup(name.c_str());
  entry->secName = strdup(name.c_str());
  entry->engineID = static_cast<u_char*>(netsnmp_memdup(engineId.data(), engineId.size()));
  entry->engineIDLen = engineId.size();
  entry->userStatus = RS_ACTIVE;
  entry->userStorageType = ST_READONLY;
  usm_add_user(entry);
  return entry;
}

usmUser* EntryOf(const std::string& engineId, const std::string& name) {
  return usm_get_user(reinterpret_cast<const u_char*>(engineId.data()), engineId.size(),
                      name.c_str());
}

}  // namespace

UsmMasterKeys MakeUsmMasterKeys(const UsmUser& user) {
  UsmMasterKeys keys;
  if (user.level == SecurityLevel::NoAuthNoPriv) return keys;
  // The privacy key, too, comes from the authentication protocol's hash.
  keys.auth = MasterKey(AuthOid(user.auth), user.authPass);
  if (user.level == SecurityLevel::AuthPriv)
    keys.priv = MasterKey(AuthOid(user.auth), user.privPass);
  return keys;
}

UsmLocalKeys LocalizeUsmKeys(const UsmUser& user, const UsmMasterKeys& master,
                             const std::string& engineId) {
  const ProtocolOid auth = AuthOid(user.auth);
  return {engineId, LocalKey(auth, engineId, master.auth), LocalKey(auth, engineId, master.priv)};
}

void InstallUsmUser(const UsmUser& user, const UsmLocalKeys& keys) {
  usmUser* entry = EntryOf(keys.engineId, user.name);
  if (!entry) entry = NewEntry(keys.engineId, user.name);
  SetOid(entry->authProtocol, entry->authProtocolLen, AuthOidAt(user));
  SetOctets(entry->authKey, entry->authKeyLen, keys.auth);
  SetOid(entry->privProtocol, entry->privProtocolLen, PrivOidAt(user));
  SetOctets(entry->privKey, entry->privKeyLen, keys.priv);
}

void RemoveUsmUser(const std::string& engineId, const std::string& name) {
  usmUser* entry = EntryOf(engineId, name);
  if (!entry) return;
  usm_remove_user(entry);
  usm_free_user(entry);
}

void ForgetEngineTime(std::string engineId) {
  free_enginetime(Bytes(engineId), engineId.size());
}

}  // namespace t740::host
