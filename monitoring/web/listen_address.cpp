#include "monitoring/web/listen_address.h"

#include "monitoring/probe/probe_query.h"

namespace t740::monitoring {

std::optional<ListenAddress> ParseListenAddress(const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos) return std::nullopt;
  const std::string port = text.substr(colon + 1);
  const std::string host = text.substr(0, colon);
  const bool digits = !port.empty() && port.size() <= 5 &&
                      port.find_first_not_of("0123456789") == std::string::npos;
  if (!digits || std::stoi(port) > 65535 || (!host.empty() && !ParseIpv4(host))) {
    return std::nullopt;
  }
  return ListenAddress{host.empty() ? "0.0.0.0" : host, std::stoi(port)};
}

}  // namespace t740::monitoring
