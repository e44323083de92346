#include <iostream>
#include "hosting/errors/host_error.h"

#include "hosting/transport/sim_transport.h"
#include "hosting/transport/snmp_transport.h"
#include "hosting/transport/transport.h"

namespace t740::host {
namespace {

struct TransportEntry {
  const char* name;
  std::unique_ptr<Transport> (*make)(const HostOptions& options);
};

const TransportEntry kTransports[] = {
    {"sim",
     [](const HostOptions& options) -> std::unique_ptr<Transport> {
       return std::make_unique<SimTransport>(options);
     }},
    {"snmp",
     [](const HostOptions& options) -> std::unique_ptr<Transport> {
       return std::make_unique<SnmpTransport>(options, std::cerr);
     }},
};

struct StatusName {
  StatusText text;
  const char* name;
};

constexpr StatusName kStatusNames[] = {
    {StatusText::Alarm, "alarm status"},
    {StatusText::Led, "LED status"},
    {StatusText::Performance, "performance data"},
};

}  // namespace

const char* StatusTextName(StatusText text) {
  for (const StatusName& entry : kStatusNames) {
    if (entry.text == text) return entry.name;
  }
  return "status";
}

std::unique_ptr<Transport> MakeTransport(const HostOptions& options) {
  for (const TransportEntry& entry : kTransports) {
    if (options.transport == entry.name) return entry.make(options);
  }
  throw UsageError("--transport: unknown transport '" + options.transport + "'");
}

}  // namespace t740::host
