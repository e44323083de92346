#include "alerter/alertmanager/alertmanager_url.h"

#include <cctype>
#include <stdexcept>
#include <string_view>

namespace t740::alerter {
namespace {

struct Scheme {
  const char* name;
  int defaultPort;
};

constexpr Scheme kSchemes[] = {{"http", 80}, {"https", 443}};

[[noreturn]] void Refuse(const std::string& value, const std::string& why) {
  throw std::invalid_argument("--alertmanager.url \"" + value + "\": " + why);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

const Scheme& FindScheme(const std::string& value, std::string_view name) {
  const std::string lower = Lower(name);
  for (const Scheme& scheme : kSchemes) {
    if (lower == scheme.name) {
      if (lower == "https" && !TlsAvailable()) Refuse(value, "this build has no TLS for https");
      return scheme;
    }
  }
  Refuse(value, "the scheme must be http or https");
}

bool IsHostNameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

bool IsIpv6Character(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
}

// RFC 3986's path characters: unreserved, sub-delims, ':', '@', '/', and
// percent escapes.
bool IsPathCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) ||
         std::string_view("-._~!$&'()*+,;=:@/%").find(c) != std::string_view::npos;
}

int ReadPort(const std::string& value, std::string_view digits) {
  if (digits.empty() || digits.size() > 5) Refuse(value, "the port must be 1 to 65535");
  int port = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) Refuse(value, "the port must be a number");
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) Refuse(value, "the port must be 1 to 65535");
  return port;
}

// HOST[:PORT] or [IPv6][:PORT] into the URL's host and port.
void ReadAuthority(const std::string& value, std::string_view authority, AlertmanagerUrl& url) {
  if (authority.find('@') != std::string_view::npos) {
    Refuse(value, "credentials in the URL are not taken");
  }
  std::string_view rest;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) Refuse(value, "an IPv6 address lacks its ']'");
    const std::string_view address = authority.substr(1, close - 1);
    if (address.empty()) Refuse(value, "the host is empty");
    for (char c : address) {
      if (!IsIpv6Character(c)) Refuse(value, "the IPv6 address holds a bad character");
    }
    url.host = std::string(address);
    rest = authority.substr(close + 1);
    if (!rest.empty() && rest.front() != ':') Refuse(value, "text after the IPv6 address");
  } else {
    const std::size_t colon = authority.find(':');
    url.host = std::string(authority.substr(0, colon));
    if (url.host.empty()) Refuse(value, "the host is empty");
    for (char c : url.host) {
      if (!IsHostNameCharacter(c)) Refuse(value, "the host holds a bad character");
    }
    if (colon != std::string_view::npos) rest = authority.substr(colon);
  }
  if (!rest.empty()) url.port = ReadPort(value, rest.substr(1));
}

std::string ReadPrefix(const std::string& value, std::string_view path) {
  for (char c : path) {
    if (!IsPathCharacter(c)) Refuse(value, "the path holds a character URLs escape");
  }
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  const std::string_view endpoint = "/api/v2/alerts";
  if (path.size() >= endpoint.size() && path.substr(path.size() - endpoint.size()) == endpoint) {
    Refuse(value, "give Alertmanager's base URL, without /api/v2/alerts");
  }
  return std::string(path);
}

}  // namespace

bool TlsAvailable() {
#ifdef CPPHTTPLIB_OPENSSL_SUPPORT
  return true;
#else
  return false;
#endif
}

std::string AlertmanagerUrl::Origin() const {
  const bool ipv6 = host.find(':') != std::string::npos;
  return scheme + "://" + (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string AlertmanagerUrl::Text() const {
  return Origin() + prefix;
}

AlertmanagerUrl ParseAlertmanagerUrl(const std::string& value) {
  const std::size_t schemeEnd = value.find("://");
  if (schemeEnd == std::string::npos) Refuse(value, "expected http://HOST:PORT[/prefix]");
  if (value.find_first_of("?#") != std::string::npos) {
    Refuse(value, "a query or fragment is not taken");
  }
  AlertmanagerUrl url;
  const Scheme& scheme = FindScheme(value, std::string_view(value).substr(0, schemeEnd));
  url.scheme = scheme.name;
  url.port = scheme.defaultPort;
  const std::string_view afterScheme = std::string_view(value).substr(schemeEnd + 3);
  const std::size_t slash = afterScheme.find('/');
  ReadAuthority(value, afterScheme.substr(0, slash), url);
  if (slash != std::string_view::npos) url.prefix = ReadPrefix(value, afterScheme.substr(slash));
  return url;
}

}  // namespace t740::alerter
