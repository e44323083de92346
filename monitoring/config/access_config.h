// The configuration file of t740-exporter and t740-alerter (YAML): named
// auths, each an SNMPv2c community or an SNMPv3 user with its security
// level and protocols, the time-out of each try and the retries, and who
// may send the alerter notifications. Pass phrases come only from
// files that their owner alone may read, named relative to the
// configuration file.
#ifndef T740_MONITORING_CONFIG_ACCESS_CONFIG_H
#define T740_MONITORING_CONFIG_ACCESS_CONFIG_H

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "hosting/transport/snmp_security.h"

namespace t740::monitoring {

constexpr char kDefaultCommunity[] = "public";
constexpr int kDefaultTimeoutMilliseconds = 1000;
constexpr int kDefaultRetries = 1;
constexpr int kTimeoutMaximumMilliseconds = 60000;
constexpr int kRetriesMaximum = 10;

struct Auth {
  host::SnmpVersion version = host::SnmpVersion::V2c;
  std::string community = kDefaultCommunity;  // SNMPv2c
  std::optional<host::UsmUser> user;          // SNMPv3, with its pass phrases
};

// Who may send t740-alerter the cards' notifications: SNMPv2c communities
// and the users of named SNMPv3 auths. t740-exporter reads no notification.
struct NotificationAccess {
  std::vector<std::string> communities{kDefaultCommunity};
  std::vector<std::string> users;  // names of SNMPv3 auths
  std::string engineId;            // hex, the receiver's own; empty: made at start
};

struct AccessConfig {
  std::map<std::string, Auth> auths;
  NotificationAccess notifications;
  Auth defaultAuth;  // for a probe that names none
  int timeoutMilliseconds = kDefaultTimeoutMilliseconds;
  int retries = kDefaultRetries;
};

// "FILE:LINE: what is wrong".
class ConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The pass phrase in a file; throws protocol::PassPhraseError.
using PassPhraseReader = std::function<std::string(const std::string& path)>;
PassPhraseReader PrivateFilePassPhrases();

// Parses `text`, read from `path` (which names it in errors and against
// which relative pass-phrase files are found). Throws ConfigError.
AccessConfig ParseAccessConfig(const std::string& text, const std::string& path,
                               const PassPhraseReader& readPassPhrase);
// Reads and parses the file. Throws ConfigError.
AccessConfig LoadAccessConfig(const std::string& path);

}  // namespace t740::monitoring

#endif
