#include "monitoring/probe/probe_query.h"

#include <arpa/inet.h>

#include <iterator>

namespace t740::monitoring {
namespace {

constexpr size_t kCardDigitsMinimum = 2;
constexpr size_t kCardDigitsMaximum = 4;
constexpr size_t kValueMaximum = 256;
constexpr char kKnown[][7] = {"target", "card", "auth"};

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The one value of `name`; an error when it is given more than once.
std::optional<std::string> One(const std::multimap<std::string, std::string>& parameters,
                               const std::string& name, std::string& error) {
  const auto [first, last] = parameters.equal_range(name);
  if (first == last) return std::nullopt;
  if (std::next(first) != last) error = name + " is given more than once";
  return first->second;
}

// The value as a reason quotes it: one line, not too long.
std::string Shown(const std::string& value) {
  std::string shown = value.substr(0, kValueMaximum);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7F) c = '?';
  }
  return value.size() > kValueMaximum ? shown + "..." : shown;
}

std::string TargetError(ProbeTarget& target, const std::string& text) {
  const size_t colon = text.find(':');
  target.address = text.substr(0, colon);
  const std::optional<uint32_t> address = ParseIpv4(target.address);
  if (!address) return "target: '" + Shown(text) + "' is not an IPv4 address[:port]";
  target.ipv4 = *address;
  target.port = kDefaultSnmpPort;
  if (colon == std::string::npos) return "";
  const std::string port = text.substr(colon + 1);
  if (!AllDigits(port) || port.size() > 5 || std::stoi(port) < 1 || std::stoi(port) > 65535) {
    return "target: '" + Shown(text) + "' has no port from 1 to 65535";
  }
  target.port = std::stoi(port);
  return "";
}

}  // namespace

std::optional<uint32_t> ParseIpv4(const std::string& text) {
  // inet_pton takes exactly four dotted decimal parts, no leading zeros.
  in_addr address{};
  if (text.empty() || inet_pton(AF_INET, text.c_str(), &address) != 1) return std::nullopt;
  return ntohl(address.s_addr);
}

ProbeQuery ParseProbeQuery(const std::multimap<std::string, std::string>& parameters) {
  ProbeQuery query;
  for (const auto& entry : parameters) {
    bool known = false;
    for (const char* name : kKnown) known = known || entry.first == name;
    if (!known) return {std::nullopt, "unknown parameter '" + Shown(entry.first) + "'"};
  }
  std::string error;
  const auto target = One(parameters, "target", error);
  const auto card = One(parameters, "card", error);
  const auto auth = One(parameters, "auth", error);
  if (!error.empty()) return {std::nullopt, error};
  if (!target || target->empty()) return {std::nullopt, "target parameter is missing"};
  if (!card || card->empty()) return {std::nullopt, "card parameter is missing"};
  ProbeTarget probe;
  error = TargetError(probe, *target);
  if (!error.empty()) return {std::nullopt, error};
  if (!AllDigits(*card) || card->size() < kCardDigitsMinimum || card->size() > kCardDigitsMaximum) {
    return {std::nullopt, "card: '" + Shown(*card) + "' is not a card address of 2 to 4 digits"};
  }
  probe.card = *card;
  if (auth) {
    if (auth->empty() || Shown(*auth) != *auth) {
      return {std::nullopt, "auth: '" + Shown(*auth) + "' is no auth name"};
    }
    probe.auth = *auth;
  }
  return {probe, ""};
}

}  // namespace t740::monitoring
