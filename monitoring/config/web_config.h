// The web configuration file, in the format of Prometheus's exporter
// toolkit: TLS (tls_server_config: cert_file, key_file) and HTTP basic
// authentication (basic_auth_users: name to bcrypt hash). Read once at
// start.
#ifndef T740_MONITORING_CONFIG_WEB_CONFIG_H
#define T740_MONITORING_CONFIG_WEB_CONFIG_H

#include <map>
#include <optional>
#include <string>

namespace t740::monitoring {

struct TlsFiles {
  std::string certFile;
  std::string keyFile;
};

struct WebConfig {
  std::optional<TlsFiles> tls;
  std::map<std::string, std::string> users;  // name to password hash
};

// Files are named relative to the web configuration. Throws ConfigError
// ("FILE:LINE: what").
WebConfig ParseWebConfig(const std::string& text, const std::string& path);
WebConfig LoadWebConfig(const std::string& path);

}  // namespace t740::monitoring

#endif
