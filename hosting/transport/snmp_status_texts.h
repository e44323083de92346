// The card's three status texts (alarm status, LED status, performance
// data) in one SNMP GET, so that they describe the same moment and cost
// one round trip.
#ifndef T740_HOSTING_TRANSPORT_SNMP_STATUS_TEXTS_H
#define T740_HOSTING_TRANSPORT_SNMP_STATUS_TEXTS_H

#include <string>
#include <string_view>

#include "hosting/transport/snmp_exchange.h"

namespace t740::host {

struct StatusTexts {
  std::string alarm;
  std::string led;
  std::string performance;
};

struct StatusTextsAnswer {
  SnmpAnswer answer;  // the exchange; texts are set when it is ok
  StatusTexts texts;
};

StatusTextsAnswer FetchStatusTexts(SnmpSessions& sessions, std::string_view cardAddress,
                                   SnmpTries tries);

}  // namespace t740::host

#endif
