// A v3 user's keys, and the library's user list that signs and checks with
// them. net-snmp keeps one entry per (engine id, user name) for the whole
// process and signs, encrypts, checks and decrypts with that entry's keys,
// not with the session's, so every exchange installs its own user's keys
// into the entry before each library call that builds or reads a message.
// Two auths of one user name at one agent (one right, one wrong, or a pass
// phrase changed) thus each sign with their own keys.
#ifndef T740_HOSTING_TRANSPORT_USM_KEYS_H
#define T740_HOSTING_TRANSPORT_USM_KEYS_H

#include <string>

#include "hosting/transport/snmp_security.h"

namespace t740::host {

// Keys from the pass phrases (RFC 3414, A.2): a megabyte of hashing each,
// so made once per user. Empty below the level that needs them.
struct UsmMasterKeys {
  std::string auth;
  std::string priv;
};

// The keys localised to one agent's engine.
struct UsmLocalKeys {
  std::string engineId;
  std::string auth;
  std::string priv;
};

// Throws std::runtime_error when the library cannot make a key.
UsmMasterKeys MakeUsmMasterKeys(const UsmUser& user);
UsmLocalKeys LocalizeUsmKeys(const UsmUser& user, const UsmMasterKeys& master,
                             const std::string& engineId);

// Hold SnmpV3Mutex around these and the library calls that follow.
void InstallUsmUser(const UsmUser& user, const UsmLocalKeys& keys);
void RemoveUsmUser(const std::string& engineId, const std::string& name);
// The engine's boots and time the library learnt; the next exchange with it
// learns them again.
void ForgetEngineTime(std::string engineId);

}  // namespace t740::host

#endif
