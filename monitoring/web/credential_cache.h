// Credentials whose check against their password hash is known, so that a
// request repeating them is answered without hashing again. Kept as
// SHA-256 digests salted with a random salt of each cache's own, never in
// clear; bounded, the oldest let go first. Any thread.
#ifndef T740_MONITORING_WEB_CREDENTIAL_CACHE_H
#define T740_MONITORING_WEB_CREDENTIAL_CACHE_H

#include <array>
#include <cstddef>
#include <deque>
#include <mutex>
#include <set>
#include <string_view>

namespace t740::monitoring {

class CredentialCache {
 public:
  // Throws std::runtime_error when no random salt can be had.
  explicit CredentialCache(size_t capacity);

  bool Holds(std::string_view credentials) const;
  void Add(std::string_view credentials);

 private:
  using Digest = std::array<unsigned char, 32>;

  Digest DigestOf(std::string_view credentials) const;

  const size_t capacity_;
  Digest salt_;
  mutable std::mutex mutex_;
  std::set<Digest> digests_;
  std::deque<Digest> oldestFirst_;
};

}  // namespace t740::monitoring

#endif
