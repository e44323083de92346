#include "monitoring/web/basic_auth.h"

#include <crypt.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace t740::monitoring {
namespace {

constexpr char kScheme[] = "Basic ";
constexpr size_t kCachedMaximum = 256;
constexpr int kHashesAtOnce = 1;
constexpr std::chrono::milliseconds kLongestHashWait{1000};
// What the dummy hash is of: no request's password is checked as right
// against it, whatever it is.
constexpr char kDummyPassword[] = "t740-exporter: no such user";
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
  const char* at = c ? std::strchr(kAlphabet, c) : nullptr;
  return at ? static_cast<int>(at - kAlphabet) : -1;
}

// The hash of `password` with the method, cost and salt of `setting`;
// empty when crypt fails.
std::string HashOf(const std::string& password, const std::string& setting) {
  // crypt_rn keeps its work in the caller's buffer: safe from any thread.
  auto work = std::make_unique<crypt_data>();
  const char* hashed = crypt_rn(password.c_str(), setting.c_str(), work.get(), sizeof(crypt_data));
  return hashed && hashed[0] != '*' ? hashed : "";
}

// Compares every byte, so that the time taken tells nothing of where they
// differ.
bool SameText(const std::string& a, const char* b) {
  const size_t length = std::strlen(b);
  if (a.size() != length) return false;
  unsigned char differ = 0;
  for (size_t i = 0; i < length; ++i) differ |= static_cast<unsigned char>(a[i] ^ b[i]);
  return differ == 0;
}

// "user:password" from the header's value; nothing when it holds none.
std::optional<std::string> CredentialsOf(const std::string& authorization) {
  if (authorization.rfind(kScheme, 0) != 0) return std::nullopt;
  std::optional<std::string> credentials = DecodeBase64(authorization.substr(sizeof kScheme - 1));
  if (!credentials || credentials->find(':') == std::string::npos) return std::nullopt;
  return credentials;
}

}  // namespace

std::optional<std::string> DecodeBase64(const std::string& text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string bytes;
  for (size_t i = 0; i < text.size(); i += 4) {
    int sextets[4];
    int padding = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = text[i + k];
      const bool last = i + 4 == text.size();
      if (c == '=' && last && k >= 2 && (k == 3 || text[i + 3] == '=')) {
        sextets[k] = 0;
        ++padding;
        continue;
      }
      sextets[k] = padding ? -1 : SextetOf(c);
      if (sextets[k] < 0) return std::nullopt;
    }
    const unsigned value = (sextets[0] << 18) | (sextets[1] << 12) | (sextets[2] << 6) | sextets[3];
    bytes += static_cast<char>(value >> 16);
    if (padding < 2) bytes += static_cast<char>((value >> 8) & 0xFF);
    if (padding < 1) bytes += static_cast<char>(value & 0xFF);
  }
  return bytes;
}

BasicAuth::BasicAuth(std::map<std::string, std::string> users)
    : users_(std::move(users)),
      dummyHash_(users_.empty() ? "" : HashOf(kDummyPassword, users_.begin()->second)),
      allowed_(kCachedMaximum),
      refused_(kCachedMaximum),
      hashing_(kHashesAtOnce, kLongestHashWait) {}

bool BasicAuth::Allows(const std::string& authorization) const {
  const std::optional<std::string> credentials = CredentialsOf(authorization);
  if (!credentials) return false;
  if (allowed_.Holds(*credentials)) return true;
  if (refused_.Holds(*credentials)) return false;
  const HashGate::Pass pass(hashing_);
  if (!pass.Held()) return false;
  // Another request may have checked the same credentials meanwhile.
  if (allowed_.Holds(*credentials)) return true;
  if (refused_.Holds(*credentials)) return false;
  const std::optional<bool> right = Check(*credentials);
  if (!right) return false;
  (*right ? allowed_ : refused_).Add(*credentials);
  return *right;
}

std::optional<bool> BasicAuth::Check(const std::string& credentials) const {
  const size_t colon = credentials.find(':');
  const auto user = users_.find(credentials.substr(0, colon));
  const bool known = user != users_.end();
  const std::optional<bool> matches =
      HashMatches(credentials.substr(colon + 1), known ? user->second : dummyHash_);
  if (!matches) return std::nullopt;
  return known && *matches;
}

std::optional<bool> BasicAuth::HashMatches(const std::string& password,
                                           const std::string& hash) const {
  ++hashes_;
  const std::string hashed = HashOf(password, hash);
  if (hashed.empty()) return std::nullopt;
  return SameText(hash, hashed.c_str());
}

}  // namespace t740::monitoring
