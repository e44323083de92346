// The plug-in's hex texts and the octets that travel in SNMP OCTET STRINGs.
#ifndef T740_HOSTING_TEXT_HEX_OCTETS_H
#define T740_HOSTING_TEXT_HEX_OCTETS_H

#include <optional>
#include <string>
#include <string_view>

namespace t740::host {

// Two hex digits (either case) per octet; nothing for an odd length or a
// character that is no hex digit.
std::optional<std::string> OctetsOfHex(std::string_view hex);
// Two upper-case hex digits per octet.
std::string HexOfOctets(std::string_view octets);

}  // namespace t740::host

#endif
