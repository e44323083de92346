#include "alerter/desk/session_token.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace t740::alerter {
namespace {

constexpr int kTokenBytes = 32;

}  // namespace

std::string NewSessionToken() {
  unsigned char bytes[kTokenBytes];
  if (RAND_bytes(bytes, kTokenBytes) != 1) {
    throw std::runtime_error("OpenSSL gave no random bytes for the desk's token");
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (unsigned char byte : bytes) {
    token += kHex[byte >> 4];
    token += kHex[byte & 0xF];
  }
  return token;
}

bool TokenMatches(const std::string& token, const std::string& offered) {
  return offered.size() == token.size() &&
         CRYPTO_memcmp(token.data(), offered.data(), token.size()) == 0;
}

}  // namespace t740::alerter
