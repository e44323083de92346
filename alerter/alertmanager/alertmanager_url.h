#ifndef T740_ALERTER_ALERTMANAGER_ALERTMANAGER_URL_H
#define T740_ALERTER_ALERTMANAGER_ALERTMANAGER_URL_H

#include <string>

namespace t740::alerter {

// An --alertmanager.url value: http[s]://HOST[:PORT][/prefix].
struct AlertmanagerUrl {
  std::string scheme;  // "http" or "https"
  std::string host;    // an IPv6 address without its brackets
  int port = 0;
  std::string prefix;  // "" or "/path", without a trailing slash

  // http://HOST:PORT, as httplib::Client takes it.
  std::string Origin() const;
  // The URL in its normal form: the origin and the prefix.
  std::string Text() const;
};

// Throws std::invalid_argument saying why the value is refused.
AlertmanagerUrl ParseAlertmanagerUrl(const std::string& value);

// Whether this build can post over TLS.
bool TlsAvailable();

}  // namespace t740::alerter

#endif
