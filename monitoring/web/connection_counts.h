// What a program's web server tells of its connections, for its /metrics:
// those refused for want of a place, and those open. Any thread.
#ifndef T740_MONITORING_WEB_CONNECTION_COUNTS_H
#define T740_MONITORING_WEB_CONNECTION_COUNTS_H

#include <atomic>
#include <cstdint>
#include <string>

#include "hosting/text/exposition_writer.h"

namespace t740::monitoring {

class ConnectionCounts {
 public:
  void CountRefused() { ++refused_; }
  void SetOpen(int open) { open_ = open; }
  // PREFIX_http_connections_refused_total and PREFIX_http_connections_open.
  void Write(host::ExpositionWriter& out, const std::string& prefix) const;

 private:
  std::atomic<uint64_t> refused_{0};
  std::atomic<int> open_{0};
};

}  // namespace t740::monitoring

#endif
