// The simulated card, in the host's own process, at the address the
// options give.
#ifndef T740_HOSTING_TRANSPORT_SIM_TRANSPORT_H
#define T740_HOSTING_TRANSPORT_SIM_TRANSPORT_H

#include <memory>

#include "hosting/transport/transport.h"
#include "sim/simulated_card.h"

namespace t740::host {

class SimTransport : public Transport {
 public:
  // Throws UsageError for a fault the card does not know.
  explicit SimTransport(const HostOptions& options);

  std::string Description() const override { return "simulated card"; }
  int Request(int operation, const CText& ip, const CText& oid, const CText& one,
              const CText& value, CText* response) override;
  std::string FetchStatus(StatusText text, std::string_view ip,
                          std::string_view cardAddress) override;

 private:
  sim::SimulatedCard card_;
};

}  // namespace t740::host

#endif
