// One card the alerter watches: its agent's address and port, as
// Prometheus's file service discovery names the target, and its card
// address, with the auth to probe it with.
#ifndef T740_ALERTER_CARDS_CARD_TARGET_H
#define T740_ALERTER_CARDS_CARD_TARGET_H

#include <string>

#include "monitoring/probe/probe_query.h"

namespace t740::alerter {

struct CardTarget {
  monitoring::ProbeTarget probe;  // address, port, card, auth
  std::string instance;           // "ADDRESS:PORT", the label Prometheus gives it

  // Names the card among all the alerter watches.
  std::string Key() const { return instance + "/" + probe.card; }
};

}  // namespace t740::alerter

#endif
