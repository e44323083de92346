#include "host/sim_transport.h"

#include "host/host_error.h"
#include "host/sim_status_kind.h"
#include "sim/default_card.h"

namespace t740::host {
namespace {

// How long the "delay" fault holds each answer.
constexpr int kFaultDelayMilliseconds = 500;

sim::Fault ParseFault(const std::string& text) {
  const size_t colon = text.find(':');
  const std::string kindName = text.substr(0, colon);
  const auto kind = sim::FaultKindNamed(kindName);
  if (!kind) throw UsageError("--sim-fault: unknown fault '" + kindName + "'");
  sim::Fault fault{*kind, colon == std::string::npos ? "" : text.substr(colon + 1)};
  fault.delayMilliseconds = kFaultDelayMilliseconds;
  return fault;
}

}  // namespace

SimTransport::SimTransport(const HostOptions& options)
    : card_(sim::CardIdentity{options.ip, options.cardAddress}, sim::DefaultCardState(),
            sim::WallClock(), sim::kDefaultUptimeSeconds) {
  for (const std::string& fault : options.simFaults) card_.InjectFault(ParseFault(fault));
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
