// The substitute host's conversions for SNMP: the plug-in's hex texts to
// the octets of an OCTET STRING and back, and its identifier texts to the
// numeric arcs SNMP sends, against the rules written out plainly.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "hosting/text/hex_octets.h"
#include "hosting/text/oid_text.h"
#include "reference_codecs.h"

namespace {

// Digits between single dots, two to 128 arcs, none above 2^32 - 1.
std::optional<std::vector<uint32_t>> ReferenceArcs(std::string_view text) {
  std::vector<uint32_t> arcs;
  std::string arc;
  auto take = [&]() {
    if (arc.empty()) return false;
    // Leading zeros count for nothing; more than ten digits after them is
    // too large in any case.
    const std::string significant = arc.substr(std::min(arc.size(), arc.find_first_not_of('0')));
    if (significant.size() > 10) return false;
    const unsigned long long value = significant.empty() ? 0 : std::stoull(significant);
    if (value > 0xFFFFFFFFull) return false;
    arcs.push_back(static_cast<uint32_t>(value));
    arc.clear();
    return true;
  };
  for (char c : text) {
    if (c == '.') {
      if (!take()) return std::nullopt;
    } else if (c >= '0' && c <= '9') {
      arc += c;
    } else {
      return std::nullopt;
    }
  }
  if (!take() || arcs.size() < 2 || arcs.size() > t740::host::kMaxOidArcs) return std::nullopt;
  return arcs;
}

void CheckHex(std::string_view text) {
  const auto octets = t740::host::OctetsOfHex(text);
  FUZZ_CHECK(octets.has_value() == (text.size() % 2 == 0 && t740::fuzz::IsHexText(text)));
  if (octets) {
    FUZZ_CHECK(octets->size() == text.size() / 2);
    FUZZ_CHECK(t740::host::HexOfOctets(*octets) == t740::fuzz::ReferenceUpper(text));
  }
  // Any octets come back as they went.
  const std::string hex = t740::host::HexOfOctets(text);
  FUZZ_CHECK(hex.size() == 2 * text.size());
  FUZZ_CHECK(t740::host::OctetsOfHex(hex) == std::string(text));
}

void CheckOid(std::string_view text) {
  const t740::host::OidArcs parsed = t740::host::ParseOidText(text);
  const auto expected = ReferenceArcs(text);
  FUZZ_CHECK(static_cast<bool>(parsed) == expected.has_value());
  if (!parsed) {
    FUZZ_CHECK(!parsed.error.empty());
    return;
  }
  FUZZ_CHECK(parsed.arcs == *expected);
  const std::string again = t740::host::OidArcsText(parsed.arcs);
  FUZZ_CHECK(t740::host::ParseOidText(again).arcs == parsed.arcs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const bool hex = input.Flag();
  const std::string_view text = input.Rest();
  if (hex) {
    CheckHex(text);
  } else {
    CheckOid(text);
  }
  return 0;
}
