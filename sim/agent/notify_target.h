// Where t740-sim sends its notifications: --notify ADDRESS[:PORT], an IPv4
// address and a UDP port, 162 by default.
#ifndef T740_SIM_AGENT_NOTIFY_TARGET_H
#define T740_SIM_AGENT_NOTIFY_TARGET_H

#include <cstdint>
#include <string>

namespace t740::sim {

constexpr uint16_t kNotifyPortDefault = 162;

struct NotifyTarget {
  std::string address;
  uint16_t port = kNotifyPortDefault;
  // "127.0.0.1:162"
  std::string Text() const { return address + ":" + std::to_string(port); }
};

// Throws SimUsageError for a bad address or port.
NotifyTarget ParseNotifyTarget(const std::string& text);

}  // namespace t740::sim

#endif
