// HTTP basic authentication against the web configuration's users, their
// passwords hashed with bcrypt ($2y$, $2b$) and checked with the C
// library's crypt (libxcrypt). Credentials once checked are remembered, so
// that a scraper's repeated ones cost no hash; an unknown user's password
// is hashed too, so that the time taken does not tell which names exist;
// hashes run one at a time, a request waiting at most a second for its
// turn. Any thread.
#ifndef T740_MONITORING_WEB_BASIC_AUTH_H
#define T740_MONITORING_WEB_BASIC_AUTH_H

#include <atomic>
#include <map>
#include <optional>
#include <string>

#include "monitoring/web/credential_cache.h"
#include "monitoring/web/hash_gate.h"

namespace t740::monitoring {

class BasicAuth {
 public:
  explicit BasicAuth(std::map<std::string, std::string> users);

  // `authorization` is the request's Authorization header.
  bool Allows(const std::string& authorization) const;

  // The password hashes computed for requests so far.
  long HashesComputed() const { return hashes_; }

 private:
  // Whether "user:password" is right; nothing when the hash failed.
  std::optional<bool> Check(const std::string& credentials) const;
  std::optional<bool> HashMatches(const std::string& password, const std::string& hash) const;

  std::map<std::string, std::string> users_;
  std::string dummyHash_;  // an unknown user's, of the first user's cost
  mutable CredentialCache allowed_;
  mutable CredentialCache refused_;
  mutable HashGate hashing_;
  mutable std::atomic<long> hashes_{0};
};

// The bytes of standard base64 text; nothing when it is not.
std::optional<std::string> DecodeBase64(const std::string& text);

}  // namespace t740::monitoring

#endif
