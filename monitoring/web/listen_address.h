// Where a program listens: "[HOST]:PORT", an IPv4 address or none for
// every address, as Prometheus's programs take --web.listen-address.
#ifndef T740_MONITORING_WEB_LISTEN_ADDRESS_H
#define T740_MONITORING_WEB_LISTEN_ADDRESS_H

#include <optional>
#include <string>

namespace t740::monitoring {

struct ListenAddress {
  std::string host;  // "0.0.0.0" for ":PORT"
  int port;          // 0: a free one
};

// Nothing when `text` is no [IPv4 ADDRESS]:PORT.
std::optional<ListenAddress> ParseListenAddress(const std::string& text);

}  // namespace t740::monitoring

#endif
