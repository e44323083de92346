#include "host/snmp_sessions.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <stdexcept>

#include "host/snmp_library.h"

namespace t740::host {
namespace {

constexpr long kMicrosecondsPerMillisecond = 1000;

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
      return Lease(*this, handle);
    }
  }
  return Lease(*this, Open());
}

void* SnmpSessions::Open() {
  std::lock_guard<std::mutex> library(SnmpLibraryMutex());
  netsnmp_session settings;
  snmp_sess_init(&settings);
  settings.version = SNMP_VERSION_2c;
  std::string name = peer_.name;
  std::string community = peer_.community;
  settings.peername = name.data();
  settings.community = reinterpret_cast<u_char*>(community.data());
  settings.community_len = community.size();
  settings.timeout = peer_.timeoutMilliseconds * kMicrosecondsPerMillisecond;
  settings.retries = peer_.retries;
  // The library copies what it keeps.
  void* handle = snmp_sess_open(&settings);
  if (!handle) {
    char* error = nullptr;
    snmp_error(&settings, nullptr, nullptr, &error);
    const std::string why = error ? error : "unknown error";
    free(error);
    throw std::runtime_error("cannot open an SNMP session to " + peer_.name + ": " + why);
  }
  return handle;
}

void SnmpSessions::GiveBack(void* handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  idle_.push_back(handle);
}

}  // namespace t740::host
