// The card's three status texts, which both ends of every road to the card
// (the simulated card, its agent, the hosts) name alike.
#ifndef T740_PROTOCOL_STATUS_KIND_H
#define T740_PROTOCOL_STATUS_KIND_H

namespace t740::protocol {

enum class StatusKind { Alarm, Led, Performance };

}  // namespace t740::protocol

#endif
