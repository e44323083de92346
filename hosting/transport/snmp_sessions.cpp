#include "hosting/transport/snmp_sessions.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <stdexcept>

#include "hosting/transport/snmp_library.h"

namespace t740::host {
namespace {

constexpr int kLevels[] = {SNMP_SEC_LEVEL_NOAUTH, SNMP_SEC_LEVEL_AUTHNOPRIV,
                           SNMP_SEC_LEVEL_AUTHPRIV};

// The session names the user and its level; the keys are the library
// user's, installed before each exchange.
void SetUser(netsnmp_session& settings, const UsmUser& user) {
  settings.version = SNMP_VERSION_3;
  settings.securityName = const_cast<char*>(user.name.c_str());
  settings.securityNameLen = user.name.size();
  settings.securityModel = USM_SEC_MODEL_NUMBER;
  settings.securityLevel = kLevels[static_cast<int>(user.level)];
}

void CloseAll(const std::vector<void*>& handles) {
  if (handles.empty()) return;
  std::lock_guard<std::mutex> library(SnmpLibraryMutex());
  for (void* handle : handles) snmp_sess_close(handle);
}

}  // namespace

SnmpSessions::~SnmpSessions() {
  CloseIdle();
  if (!peer_.user) return;
  std::lock_guard<std::timed_mutex> line(SnmpV3Mutex());
  ForgetEngine();
}

SnmpSessions::Lease::~Lease() {
  if (handle_) sessions_.GiveBack(handle_, keep_);
}

SnmpSessions::Lease SnmpSessions::Borrow() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (peer_.user && !masterKeys_) masterKeys_ = MakeUsmMasterKeys(*peer_.user);
    if (!idle_.empty()) {
      void* handle = idle_.back();
      idle_.pop_back();
      return Lease(*this, handle);
    }
  }
  return Lease(*this, Open());
}

void* SnmpSessions::Open() {
  std::lock_guard<std::mutex> library(SnmpLibraryMutex());
  netsnmp_session settings;
  snmp_sess_init(&settings);
  std::string name = peer_.name;
  std::string community = peer_.community;
  settings.peername = name.data();
  if (peer_.user) {
    SetUser(settings, *peer_.user);
    settings.flags |= SNMP_FLAGS_DONT_PROBE;
  } else {
    settings.version = SNMP_VERSION_2c;
    settings.community = reinterpret_cast<u_char*>(community.data());
    settings.community_len = community.size();
  }
  // The library copies what it keeps; the v3 user's name it takes as it is.
  void* handle = snmp_sess_open(&settings);
  if (!handle) {
    char* error = nullptr;
    snmp_error(&settings, nullptr, nullptr, &error);
    const std::string why = error ? error : "unknown error";
    free(error);
    throw std::runtime_error("cannot open an SNMP session to " + peer_.name + ": " + why);
  }
  // The library clears the flag once open; without it the first request
  // would discover the engine on its own, waiting with the line held.
  if (peer_.user) snmp_sess_session(handle)->flags |= SNMP_FLAGS_DONT_PROBE;
  return handle;
}

void SnmpSessions::LearnEngine(const std::string& engineId) {
  if (engineId == keys_.engineId) return;
  ForgetEngine();
  CloseIdle();
  if (engineId.empty()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  keys_ = LocalizeUsmKeys(*peer_.user, *masterKeys_, engineId);
}

void SnmpSessions::InstallKeys() {
  if (peer_.user && !keys_.engineId.empty()) InstallUsmUser(*peer_.user, keys_);
}

void SnmpSessions::ForgetEngine() {
  if (keys_.engineId.empty()) return;
  RemoveUsmUser(keys_.engineId, peer_.user->name);
  ForgetEngineTime(keys_.engineId);
  keys_ = {};
}

void SnmpSessions::CloseIdle() {
  std::vector<void*> idle;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    idle.swap(idle_);
  }
  CloseAll(idle);
}

void SnmpSessions::GiveBack(void* handle, bool keep) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (keep && idle_.size() < idleMaximum_) {
      idle_.push_back(handle);
      return;
    }
  }
  CloseAll({handle});
}

}  // namespace t740::host
