// Who an SNMPv3 message says it comes from, read before the library checks
// it: the authoritative engine's id and the user's name, so that the
// receiver can install that user's keys for that engine first.
#ifndef T740_ALERTER_NOTIFICATIONS_USM_MESSAGE_HEADER_H
#define T740_ALERTER_NOTIFICATIONS_USM_MESSAGE_HEADER_H

#include <cstddef>
#include <optional>
#include <string>

namespace t740::alerter {

struct UsmMessageHeader {
  std::string engineId;
  std::string userName;
};

// Nothing for a message that is no SNMPv3 message of the User-based
// Security Model, or too broken to name its engine and user.
std::optional<UsmMessageHeader> UsmMessageHeaderOf(const unsigned char* data, size_t size);

}  // namespace t740::alerter

#endif
