#include "hosting/text/oid_text.h"

namespace t740::host {
namespace {

constexpr size_t kMinOidArcs = 2;

OidArcs Failure(std::string error) {
  OidArcs result;
  result.error = std::move(error);
  return result;
}

// One arc's digits; an error text for anything else.
std::string ParseArc(std::string_view digits, uint32_t& arc) {
  if (digits.empty()) return "is empty";
  uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return "'" + std::string(digits) + "' is not decimal";
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > kMaxOidArc) return "'" + std::string(digits) + "' is too large";
  }
  arc = static_cast<uint32_t>(value);
  return "";
}

}  // namespace

OidArcs ParseOidText(std::string_view text) {
  OidArcs result;
  while (true) {
    const size_t dot = text.find('.');
    uint32_t arc = 0;
    const std::string error = ParseArc(text.substr(0, dot), arc);
    if (!error.empty()) {
      return Failure("arc " + std::to_string(result.arcs.size() + 1) + " " + error);
    }
    result.arcs.push_back(arc);
    if (result.arcs.size() > kMaxOidArcs) {
      return Failure("more than " + std::to_string(kMaxOidArcs) + " arcs");
    }
    if (dot == std::string_view::npos) break;
    text.remove_prefix(dot + 1);
  }
  if (result.arcs.size() < kMinOidArcs) return Failure("fewer than two arcs");
  return result;
}

std::string OidArcsText(const std::vector<uint32_t>& arcs) {
  std::string text;
  for (uint32_t arc : arcs) {
    if (!text.empty()) text += '.';
    text += std::to_string(arc);
  }
  return text;
}

}  // namespace t740::host
