// The desk's per-process token: every POST of its API carries it in the
// X-T740-Token header, which no cross-site form can send and no CORS
// answer ever lets a script of another origin send.
#ifndef T740_ALERTER_DESK_SESSION_TOKEN_H
#define T740_ALERTER_DESK_SESSION_TOKEN_H

#include <string>

namespace t740::alerter {

constexpr char kTokenHeader[] = "X-T740-Token";

// 32 random bytes from OpenSSL, in hex; throws std::runtime_error when
// OpenSSL has no randomness to give.
std::string NewSessionToken();
// In time that does not depend on where they differ.
bool TokenMatches(const std::string& token, const std::string& offered);

}  // namespace t740::alerter

#endif
