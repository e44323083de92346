#include "monitoring/config/web_config.h"

#include "monitoring/config/access_config.h"
#include "monitoring/config/yaml_reader.h"

namespace t740::monitoring {
namespace {

constexpr char kTopKeys[] = "tls_server_config basic_auth_users";
constexpr char kTlsKeys[] = "cert_file key_file";

class WebConfigReader : YamlReader {
 public:
  using YamlReader::YamlReader;

  WebConfig Read(const std::string& text) const {
    const YAML::Node root = Load(text);
    WebConfig config;
    if (root.IsNull()) return config;
    if (!root.IsMap()) Fail(root, "the web configuration is not a mapping of keys");
    CheckKeys(root, kTopKeys, "");
    if (const YAML::Node tls = root["tls_server_config"]) config.tls = TlsOf(tls);
    if (const YAML::Node users = root["basic_auth_users"]) {
      if (!users.IsMap()) Fail(users, "basic_auth_users: not a mapping of names to hashes");
      for (const auto& entry : users) {
        const std::string name = Scalar(entry.first, "basic_auth_users");
        const std::string hash = Scalar(entry.second, "basic_auth_users." + name);
        if (name.empty() || name.find(':') != std::string::npos) {
          Fail(entry.first, "basic_auth_users: '" + name + "' is no user name");
        }
        if (hash.size() < 2 || hash[0] != '$') {
          Fail(entry.second, "basic_auth_users." + name + ": not a password hash ($2y$...)");
        }
        config.users[name] = hash;
      }
    }
    return config;
  }

 private:
  TlsFiles TlsOf(const YAML::Node& tls) const {
    if (!tls.IsMap()) Fail(tls, "tls_server_config: not a mapping of keys");
    CheckKeys(tls, kTlsKeys, "tls_server_config");
    TlsFiles files;
    for (auto [key, file] :
         {std::pair{"cert_file", &files.certFile}, {"key_file", &files.keyFile}}) {
      const YAML::Node node = tls[key];
      if (!node) Fail(tls, std::string("tls_server_config: needs ") + key);
      *file = PathFrom(Scalar(node, std::string("tls_server_config.") + key));
      if (file->empty()) Fail(node, std::string("tls_server_config.") + key + ": empty");
    }
    return files;
  }
};

}  // namespace

WebConfig ParseWebConfig(const std::string& text, const std::string& path) {
  return WebConfigReader(path).Read(text);
}

WebConfig LoadWebConfig(const std::string& path) {
  return ParseWebConfig(ReadConfigFile(path), path);
}

}  // namespace t740::monitoring
