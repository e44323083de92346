// How the host reaches the card: the plug-in's requests, and the status
// texts that the host polls itself. One implementation per way of reaching
// a card; the rest of the host sees only this.
#ifndef T740_HOSTING_TRANSPORT_TRANSPORT_H
#define T740_HOSTING_TRANSPORT_TRANSPORT_H

#include <memory>
#include <string>
#include <string_view>

#include "hosting/transport/host_options.h"
#include "t740/abi.h"

namespace t740::host {

enum class StatusText { Alarm, Led, Performance };

// "alarm status", "LED status", "performance data".
const char* StatusTextName(StatusText text);

class Transport {
 public:
  virtual ~Transport() = default;

  // What the report calls it, e.g. "simulated card".
  virtual std::string Description() const = 0;

  // One request of the plug-in, with the request function's arguments. The
  // call is synchronous; it may come from any thread and may throw.
  virtual int Request(int operation, const CText& ip, const CText& oid, const CText& one,
                      const CText& value, CText* response) = 0;

  // A status text of the card at `ip` and `cardAddress`; empty when no card
  // answered.
  virtual std::string FetchStatus(StatusText text, std::string_view ip,
                                  std::string_view cardAddress) = 0;
};

// The transport the options name; throws UsageError for an unknown one.
std::unique_ptr<Transport> MakeTransport(const HostOptions& options);

}  // namespace t740::host

#endif
