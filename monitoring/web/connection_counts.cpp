#include "monitoring/web/connection_counts.h"

namespace t740::monitoring {

void ConnectionCounts::Write(host::ExpositionWriter& out, const std::string& prefix) const {
  const std::string refused = prefix + "_http_connections_refused_total";
  const std::string open = prefix + "_http_connections_open";
  out.Family(refused, "counter", "Connections answered 503 because every place was taken.");
  out.Sample(refused, {}, static_cast<double>(refused_));
  out.Family(open, "gauge", "Connections open, each holding a place.");
  out.Sample(open, {}, open_);
}

}  // namespace t740::monitoring
