// The simulated card's name for each status text the host fetches.
#ifndef T740_HOSTING_TRANSPORT_SIM_STATUS_KIND_H
#define T740_HOSTING_TRANSPORT_SIM_STATUS_KIND_H

#include "hosting/transport/transport.h"
#include "sim/simulated_card.h"

namespace t740::host {

inline sim::StatusKind SimStatusKind(StatusText text) {
  switch (text) {
    case StatusText::Alarm:
      return sim::StatusKind::Alarm;
    case StatusText::Led:
      return sim::StatusKind::Led;
    case StatusText::Performance:
      break;
  }
  return sim::StatusKind::Performance;
}

}  // namespace t740::host

#endif
