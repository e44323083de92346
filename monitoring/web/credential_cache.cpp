#include "monitoring/web/credential_cache.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace t740::monitoring {

CredentialCache::CredentialCache(size_t capacity) : capacity_(capacity) {
  if (RAND_bytes(salt_.data(), static_cast<int>(salt_.size())) != 1) {
    throw std::runtime_error("no random salt for the credential cache");
  }
}

CredentialCache::Digest CredentialCache::DigestOf(std::string_view credentials) const {
  Digest digest{};
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  EVP_DigestInit_ex(context, EVP_sha256(), nullptr);
  EVP_DigestUpdate(context, salt_.data(), salt_.size());
  EVP_DigestUpdate(context, credentials.data(), credentials.size());
  EVP_DigestFinal_ex(context, digest.data(), nullptr);
  EVP_MD_CTX_free(context);
  return digest;
}

bool CredentialCache::Holds(std::string_view credentials) const {
  const Digest digest = DigestOf(credentials);
  std::lock_guard<std::mutex> lock(mutex_);
  return digests_.count(digest) > 0;
}

void CredentialCache::Add(std::string_view credentials) {
  const Digest digest = DigestOf(credentials);
  std::lock_guard<std::mutex> lock(mutex_);
  if (!digests_.insert(digest).second) return;
  oldestFirst_.push_back(digest);
  if (oldestFirst_.size() <= capacity_) return;
  digests_.erase(oldestFirst_.front());
  oldestFirst_.pop_front();
}

}  // namespace t740::monitoring
