#include "hosting/transport/sim_transport.h"

#include "hosting/transport/sim_fault_option.h"
#include "hosting/transport/sim_status_kind.h"
#include "sim/default_card.h"

namespace t740::host {

SimTransport::SimTransport(const HostOptions& options)
    : card_(sim::CardIdentity{options.ip, options.cardAddress}, sim::DefaultCardState(),
            sim::WallClock(), sim::kDefaultUptimeSeconds) {
  for (const std::string& fault : options.simFaults) card_.InjectFault(ParseSimFault(fault));
}

int SimTransport::Request(int operation, const CText& ip, const CText& oid, const CText& one,
                          const CText& value, CText* response) {
  return card_.Request(operation, ip, oid, one, value, response);
}

std::string SimTransport::FetchStatus(StatusText text, std::string_view ip,
                                      std::string_view cardAddress) {
  return card_.FetchStatus(SimStatusKind(text), ip, cardAddress);
}

}  // namespace t740::host
