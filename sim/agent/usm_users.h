// The SNMPv3 users the simulated card's agent knows, from a small file that
// only its owner may read: one user a line,
//
//   NAME LEVEL [AUTH AUTH-PASS-PHRASE [PRIV PRIV-PASS-PHRASE]]
//
// LEVEL noAuthNoPriv, authNoPriv or authPriv (the least a request of the
// user must have), AUTH SHA or SHA-256, PRIV AES; pass phrases of 8 or more
// characters without blanks. Blank lines and lines from '#' are skipped.
// Every user may read and write.
#ifndef T740_SIM_AGENT_USM_USERS_H
#define T740_SIM_AGENT_USM_USERS_H

#include <string>
#include <vector>

namespace t740::sim {

struct UsmUserEntry {
  std::string name;
  std::string level;  // net-snmp's word for it: noauth, auth or priv
  std::string auth;   // SHA or SHA-256; empty at noauth
  std::string authPass;
  std::string priv;  // AES; empty below priv
  std::string privPass;
};

// Throws SimUsageError naming the line for a bad one.
std::vector<UsmUserEntry> ParseUsmUsers(const std::string& text);

// Reads and parses the file; throws SimUsageError when it cannot be read,
// may be read by others, or holds a bad line or no user.
std::vector<UsmUserEntry> ReadUsmUsers(const std::string& path);

}  // namespace t740::sim

#endif
