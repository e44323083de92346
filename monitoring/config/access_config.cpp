#include "monitoring/config/access_config.h"

#include <set>
#include <sstream>

#include "common/unit_number.h"
#include "monitoring/config/yaml_reader.h"
#include "protocol/pass_phrase.h"

namespace t740::monitoring {
namespace {

using host::SecurityLevel;

constexpr char kTopKeys[] = "timeout retries auths notifications";
constexpr char kNotificationKeys[] = "communities users engine_id";
constexpr char kAuthKeys[] =
    "version community username security_level auth_protocol password_file priv_protocol "
    "priv_password_file";
constexpr char kV3Keys[] =
    "username security_level auth_protocol password_file priv_protocol priv_password_file";

std::set<std::string> Words(const char* text) {
  std::set<std::string> words;
  std::istringstream stream(text);
  for (std::string word; stream >> word;) words.insert(word);
  return words;
}

class ConfigReader : YamlReader {
 public:
  ConfigReader(std::string path, const PassPhraseReader& readPassPhrase)
      : YamlReader(std::move(path)), readPassPhrase_(readPassPhrase) {}

  AccessConfig Read(const std::string& text) {
    const YAML::Node root = Load(text);
    AccessConfig config;
    if (root.IsNull()) return config;
    if (!root.IsMap()) Fail(root, "the configuration is not a mapping of keys");
    CheckKeys(root, kTopKeys, "");
    if (const YAML::Node timeout = root["timeout"]) config.timeoutMilliseconds = Timeout(timeout);
    if (const YAML::Node retries = root["retries"]) config.retries = Retries(retries);
    if (const YAML::Node auths = root["auths"]) {
      if (!auths.IsMap()) Fail(auths, "auths: not a mapping of names to auths");
      for (const auto& entry : auths) {
        const std::string name = Scalar(entry.first, "auths");
        if (name.empty()) Fail(entry.first, "auths: an auth without a name");
        if (config.auths.count(name)) Fail(entry.first, "auths." + name + ": given twice");
        config.auths[name] = AuthOf(entry.second, "auths." + name);
      }
    }
    if (const YAML::Node notifications = root["notifications"]) {
      config.notifications = NotificationsOf(notifications, config.auths);
    }
    return config;
  }

 private:
  std::vector<std::string> Items(const YAML::Node& node, const std::string& key) const {
    if (!node.IsSequence()) Fail(node, key + ": not a list");
    std::vector<std::string> words;
    for (const YAML::Node& item : node) words.push_back(Scalar(item, key));
    return words;
  }

  NotificationAccess NotificationsOf(const YAML::Node& node,
                                     const std::map<std::string, Auth>& auths) const {
    if (!node.IsMap()) Fail(node, "notifications: not a mapping of keys");
    CheckKeys(node, kNotificationKeys, "notifications.");
    NotificationAccess access;
    if (const YAML::Node communities = node["communities"]) {
      access.communities = Items(communities, "notifications.communities");
    }
    if (const YAML::Node users = node["users"]) {
      access.users = Items(users, "notifications.users");
      for (const YAML::Node& user : users) {
        const std::string name = Scalar(user, "notifications.users");
        const auto auth = auths.find(name);
        if (auth == auths.end() || !auth->second.user) {
          Fail(user, "notifications.users: '" + name + "' is no SNMPv3 auth of auths");
        }
      }
    }
    if (const YAML::Node engineId = node["engine_id"]) {
      access.engineId = EngineId(engineId);
    }
    return access;
  }

  // 5 to 32 octets in hex, "0x" before them or not (RFC 3411).
  std::string EngineId(const YAML::Node& node) const {
    std::string hex = Scalar(node, "notifications.engine_id");
    if (hex.rfind("0x", 0) == 0 || hex.rfind("0X", 0) == 0) hex = hex.substr(2);
    const bool isHex = hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    if (!isHex || hex.size() % 2 != 0 || hex.size() < 10 || hex.size() > 64) {
      Fail(node, "notifications.engine_id: '" + hex + "' is not 5 to 32 octets in hex");
    }
    return hex;
  }

  // "500ms", "2s": 1 ms to 60 s.
  int Timeout(const YAML::Node& node) const {
    const std::string text = Scalar(node, "timeout");
    const auto milliseconds = UnitNumber(text, {{"ms", 1}, {"s", 1000}}, 6);
    if (milliseconds && *milliseconds >= 1 && *milliseconds <= kTimeoutMaximumMilliseconds) {
      return static_cast<int>(*milliseconds);
    }
    Fail(node, "timeout: '" + text + "' is no time from 1ms to 60s (e.g. 500ms, 2s)");
  }

  int Retries(const YAML::Node& node) const {
    const std::string text = Scalar(node, "retries");
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(text) > kRetriesMaximum) {
      Fail(node,
           "retries: '" + text + "' is no number from 0 to " + std::to_string(kRetriesMaximum));
    }
    return std::stoi(text);
  }

  template <typename Value>
  Value Named(const YAML::Node& node, const std::string& key,
              std::optional<Value> (*find)(std::string_view), const char* choices) const {
    const std::string text = Scalar(node, key);
    const std::optional<Value> value = find(text);
    if (!value) Fail(node, key + ": unknown '" + text + "' (" + choices + ")");
    return *value;
  }

  std::string PassPhrase(const YAML::Node& auth, const std::string& key,
                         const std::string& where) const {
    const YAML::Node file = auth[key];
    if (!file) Fail(auth, where + ": the security level needs " + key);
    const std::string path = Scalar(file, where + "." + key);
    if (path.empty()) Fail(file, where + "." + key + ": empty");
    try {
      return readPassPhrase_(PathFrom(path));
    } catch (const protocol::PassPhraseError& error) {
      Fail(file, where + "." + key + ": " + error.what());
    }
  }

  host::UsmUser UserOf(const YAML::Node& auth, const std::string& where) const {
    host::UsmUser user{
        "", SecurityLevel::AuthPriv, host::AuthProtocol::Sha1, host::PrivProtocol::Aes128, "", ""};
    const YAML::Node name = auth["username"];
    if (!name) Fail(auth, where + ": version 3 needs username");
    user.name = Scalar(name, where + ".username");
    if (user.name.empty()) Fail(name, where + ".username: empty");
    if (const YAML::Node level = auth["security_level"]) {
      user.level = Named(level, where + ".security_level", host::SecurityLevelNamed,
                         "noAuthNoPriv, authNoPriv or authPriv");
    }
    if (const YAML::Node protocol = auth["auth_protocol"]) {
      user.auth =
          Named(protocol, where + ".auth_protocol", host::AuthProtocolNamed, "SHA or SHA-256");
    }
    if (const YAML::Node protocol = auth["priv_protocol"]) {
      user.priv = Named(protocol, where + ".priv_protocol", host::PrivProtocolNamed, "AES");
    }
    const bool authenticates = user.level != SecurityLevel::NoAuthNoPriv;
    const bool encrypts = user.level == SecurityLevel::AuthPriv;
    if (!authenticates && auth["password_file"]) {
      Fail(auth["password_file"], where + ".password_file: unused at noAuthNoPriv");
    }
    if (!encrypts && auth["priv_password_file"]) {
      Fail(auth["priv_password_file"], where + ".priv_password_file: used only at authPriv");
    }
    if (authenticates) user.authPass = PassPhrase(auth, "password_file", where);
    if (encrypts) user.privPass = PassPhrase(auth, "priv_password_file", where);
    return user;
  }

  Auth AuthOf(const YAML::Node& node, const std::string& where) const {
    if (!node.IsMap()) Fail(node, where + ": not a mapping of keys");
    CheckKeys(node, kAuthKeys, where);
    Auth auth;
    if (const YAML::Node version = node["version"]) {
      auth.version = Named(version, where + ".version", host::SnmpVersionNamed, "2c or 3");
    }
    if (auth.version == host::SnmpVersion::V2c) {
      for (const std::string& key : Words(kV3Keys)) {
        if (node[key]) Fail(node[key], where + "." + key + ": belongs to version 3");
      }
      if (const YAML::Node community = node["community"]) {
        auth.community = Scalar(community, where + ".community");
        if (auth.community.empty()) Fail(community, where + ".community: empty");
      }
      return auth;
    }
    if (node["community"]) Fail(node["community"], where + ".community: belongs to version 2c");
    auth.user = UserOf(node, where);
    return auth;
  }

  const PassPhraseReader& readPassPhrase_;
};

}  // namespace

PassPhraseReader PrivateFilePassPhrases() {
  return [](const std::string& path) { return protocol::ReadPassPhraseFile(path); };
}

AccessConfig ParseAccessConfig(const std::string& text, const std::string& path,
                               const PassPhraseReader& readPassPhrase) {
  return ConfigReader(path, readPassPhrase).Read(text);
}

AccessConfig LoadAccessConfig(const std::string& path) {
  return ParseAccessConfig(ReadConfigFile(path), path, PrivateFilePassPhrases());
}

}  // namespace t740::monitoring
