// Object identifier texts as the plug-in builds them ("1.3.6.1.4.1....")
// turned into the numeric arcs SNMP sends. Arcs are read as decimal, so
// "01" is arc 1, as the card's agent counts them.
#ifndef T740_HOSTING_TEXT_OID_TEXT_H
#define T740_HOSTING_TEXT_OID_TEXT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace t740::host {

// The most arcs and the largest arc an SNMP identifier may carry.
constexpr size_t kMaxOidArcs = 128;
constexpr uint64_t kMaxOidArc = 0xFFFFFFFFu;

struct OidArcs {
  std::vector<uint32_t> arcs;
  std::string error;  // why the text is no identifier; empty when it is
  explicit operator bool() const { return error.empty(); }
};

// Digits separated by single dots, at least two arcs. An empty arc, a
// character other than a digit or a dot, or an arc above kMaxOidArc make
// it no identifier.
OidArcs ParseOidText(std::string_view text);

// The arcs as dotted decimal text, e.g. for messages.
std::string OidArcsText(const std::vector<uint32_t>& arcs);

}  // namespace t740::host

#endif
