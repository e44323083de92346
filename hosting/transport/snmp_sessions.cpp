#include "hosting/transport/snmp_sessions.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <algorithm>
#include <stdexcept>

#include "hosting/transport/snmp_library.h"

namespace t740::host {
namespace {

constexpr long kMicrosecondsPerMillisecond = 1000;

struct AuthProtocolOid {
  AuthProtocol protocol;
  const oid* name;
  size_t length;
};

const AuthProtocolOid kAuthProtocolOids[] = {
    {AuthProtocol::Sha1, usmHMACSHA1AuthProtocol, OID_LENGTH(usmHMACSHA1AuthProtocol)},
    {AuthProtocol::Sha256, usmHMAC192SHA256AuthProtocol, OID_LENGTH(usmHMAC192SHA256AuthProtocol)},
};

const AuthProtocolOid& AuthOid(AuthProtocol protocol) {
  for (const AuthProtocolOid& entry : kAuthProtocolOids) {
    if (entry.protocol == protocol) return entry;
  }
  return kAuthProtocolOids[0];
}

constexpr int kLevels[] = {SNMP_SEC_LEVEL_NOAUTH, SNMP_SEC_LEVEL_AUTHNOPRIV,
                           SNMP_SEC_LEVEL_AUTHPRIV};

// A key from a pass phrase (RFC 3414, A.2): a megabyte of hashing, so made
// once for all the sessions to the agent; each session localises it to the
// agent's engine when it opens.
std::string MakeKey(const AuthProtocolOid& protocol, const std::string& phrase) {
  u_char key[USM_AUTH_KU_LEN];
  size_t length = sizeof key;
  std::string text = phrase;
  if (generate_Ku(protocol.name, protocol.length, reinterpret_cast<u_char*>(text.data()),
                  text.size(), key, &length) != SNMPERR_SUCCESS) {
    throw std::runtime_error("cannot make a key from the pass phrase");
  }
  return std::string(reinterpret_cast<const char*>(key), length);
}

void CopyKey(const std::string& key, u_char* to, size_t* length) {
  std::copy(key.begin(), key.end(), to);
  *length = key.size();
}

void SetUser(netsnmp_session& settings, const UsmUser& user, const std::string& authKey,
             const std::string& privKey) {
  settings.version = SNMP_VERSION_3;
  settings.securityName = const_cast<char*>(user.name.c_str());
  settings.securityNameLen = user.name.size();
  settings.securityModel = USM_SEC_MODEL_NUMBER;
  settings.securityLevel = kLevels[static_cast<int>(user.level)];
  if (user.level == SecurityLevel::NoAuthNoPriv) return;
  const AuthProtocolOid& auth = AuthOid(user.auth);
  settings.securityAuthProto = const_cast<oid*>(auth.name);
  settings.securityAuthProtoLen = auth.length;
  CopyKey(authKey, settings.securityAuthKey, &settings.securityAuthKeyLen);
  if (user.level != SecurityLevel::AuthPriv) return;
  // AES-128 is the one privacy protocol; its key comes from the
  // authentication protocol's hash.
  settings.securityPrivProto = usmAESPrivProtocol;
  settings.securityPrivProtoLen = OID_LENGTH(usmAESPrivProtocol);
  CopyKey(privKey, settings.securityPrivKey, &settings.securityPrivKeyLen);
}

}  // namespace

SnmpSessions::~SnmpSessions() {
  std::lock_guard<std::mutex> library(SnmpLibraryMutex());
  for (void* handle : idle_) snmp_sess_close(handle);
}

SnmpSessions::Lease::~Lease() {
  if (handle_) sessions_.GiveBack(handle_);
}

SnmpSessions::Lease SnmpSessions::Borrow() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!idle_.empty()) {
      void* handle = idle_.back();
      idle_.pop_back();
      return Lease(*this, handle, {});
    }
  }
  const auto start = std::chrono::steady_clock::now();
  void* handle = Open();
  return Lease(*this, handle, std::chrono::steady_clock::now() - start);
}

void* SnmpSessions::Open() {
  std::lock_guard<std::mutex> library(SnmpLibraryMutex());
  netsnmp_session settings;
  snmp_sess_init(&settings);
  std::string name = peer_.name;
  std::string community = peer_.community;
  std::string engineId = engineId_;
  settings.peername = name.data();
  settings.timeout = peer_.timeoutMilliseconds * kMicrosecondsPerMillisecond;
  settings.retries = peer_.retries;
  if (peer_.user) {
    MakeKeys();
    SetUser(settings, *peer_.user, authKey_, privKey_);
    if (!engineId.empty()) {
      settings.securityEngineID = reinterpret_cast<u_char*>(engineId.data());
      settings.securityEngineIDLen = engineId.size();
    }
  } else {
    settings.version = SNMP_VERSION_2c;
    settings.community = reinterpret_cast<u_char*>(community.data());
    settings.community_len = community.size();
  }
  // The library copies what it keeps; the v3 user's name it takes as it is.
  void* handle = snmp_sess_open(&settings);
  if (handle && peer_.user && engineId_.empty()) {
    const netsnmp_session* opened = snmp_sess_session(handle);
    engineId_.assign(reinterpret_cast<const char*>(opened->securityEngineID),
                     opened->securityEngineIDLen);
  }
  if (!handle) {
    char* error = nullptr;
    snmp_error(&settings, nullptr, nullptr, &error);
    const std::string why = error ? error : "unknown error";
    free(error);
    throw std::runtime_error("cannot open an SNMP session to " + peer_.name + ": " + why);
  }
  return handle;
}

void SnmpSessions::MakeKeys() {
  const UsmUser& user = *peer_.user;
  if (user.level == SecurityLevel::NoAuthNoPriv || !authKey_.empty()) return;
  const AuthProtocolOid& auth = AuthOid(user.auth);
  authKey_ = MakeKey(auth, user.authPass);
  if (user.level == SecurityLevel::AuthPriv) privKey_ = MakeKey(auth, user.privPass);
}

void SnmpSessions::GiveBack(void* handle) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (idle_.size() < idleMaximum_) {
      idle_.push_back(handle);
      return;
    }
  }
  std::lock_guard<std::mutex> library(SnmpLibraryMutex());
  snmp_sess_close(handle);
}

}  // namespace t740::host
