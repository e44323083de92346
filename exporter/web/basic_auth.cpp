#include "exporter/web/basic_auth.h"

#include <crypt.h>

#include <cstring>
#include <memory>

namespace t740::exporter {
namespace {

constexpr char kScheme[] = "Basic ";
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
  const char* at = c ? std::strchr(kAlphabet, c) : nullptr;
  return at ? static_cast<int>(at - kAlphabet) : -1;
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

bool BasicAuth::Allows(const std::string& authorization) const {
  if (authorization.rfind(kScheme, 0) != 0) return false;
  const auto credentials = DecodeBase64(authorization.substr(sizeof kScheme - 1));
  if (!credentials) return false;
  const size_t colon = credentials->find(':');
  if (colon == std::string::npos) return false;
  const auto user = users_.find(credentials->substr(0, colon));
  if (user == users_.end()) return false;
  const std::string password = credentials->substr(colon + 1);
  // crypt_rn keeps its work in the caller's buffer: safe from any thread.
  auto work = std::make_unique<crypt_data>();
  const char* hashed =
      crypt_rn(password.c_str(), user->second.c_str(), work.get(), sizeof(crypt_data));
  return hashed && SameText(user->second, hashed);
}

}  // namespace t740::exporter
