#include "sim/agent/notify_target.h"

#include <arpa/inet.h>

#include "sim/agent/sim_options.h"

namespace t740::sim {
namespace {

constexpr unsigned long kPortMaximum = 65535;

uint16_t PortOf(const std::string& text, const std::string& whole) {
  const bool digits = !text.empty() && text.size() <= 5 &&
                      text.find_first_not_of("0123456789") == std::string::npos;
  if (!digits || std::stoul(text) == 0 || std::stoul(text) > kPortMaximum) {
    throw SimUsageError("--notify: '" + whole + "' has no port from 1 to 65535 after the ':'");
  }
  return static_cast<uint16_t>(std::stoul(text));
}

}  // namespace

NotifyTarget ParseNotifyTarget(const std::string& text) {
  const size_t colon = text.find(':');
  NotifyTarget target;
  target.address = text.substr(0, colon);
  in_addr address{};
  if (inet_pton(AF_INET, target.address.c_str(), &address) != 1) {
    throw SimUsageError("--notify: '" + text + "' is not ADDRESS[:PORT] with an IPv4 address");
  }
  if (colon != std::string::npos) target.port = PortOf(text.substr(colon + 1), text);
  return target;
}

}  // namespace t740::sim
