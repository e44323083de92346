// HTTP basic authentication against the web configuration's users, their
// passwords hashed with bcrypt ($2y$, $2b$) and checked with the C
// library's crypt (libxcrypt). Any thread.
#ifndef T740_EXPORTER_WEB_BASIC_AUTH_H
#define T740_EXPORTER_WEB_BASIC_AUTH_H

#include <map>
#include <optional>
#include <string>

namespace t740::exporter {

class BasicAuth {
 public:
  explicit BasicAuth(std::map<std::string, std::string> users) : users_(std::move(users)) {}

  // `authorization` is the request's Authorization header.
  bool Allows(const std::string& authorization) const;

 private:
  std::map<std::string, std::string> users_;
};

// The bytes of standard base64 text; nothing when it is not.
std::optional<std::string> DecodeBase64(const std::string& text);

}  // namespace t740::exporter

#endif
