// The status command's report as one JSON document, for scripts: the card,
// the decoded alarms, the LED codes and the performance records with their
// counters as numbers. Texts are UTF-8 whatever the terminal speaks.
#ifndef T740_HOSTING_STATUS_STATUS_JSON_H
#define T740_HOSTING_STATUS_STATUS_JSON_H

#include <ostream>
#include <string>

#include "hosting/status/status_report.h"

namespace t740::host {

struct CardOrigin {
  std::string ip;
  std::string cardAddress;
  std::string transport;  // "simulated card", ...
  std::string plugin;     // the plug-in's path
};

void PrintStatusJson(std::ostream& out, const CardOrigin& origin, const CardStatus& status);

}  // namespace t740::host

#endif
