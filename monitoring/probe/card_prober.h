// One probe of a card: its three status texts in one SNMP GET, decoded by
// the plug-in's exports as a host decodes them. Probes run concurrently,
// each on a session of its own borrowed from the pool; the status exports
// need no lock.
#ifndef T740_MONITORING_PROBE_CARD_PROBER_H
#define T740_MONITORING_PROBE_CARD_PROBER_H

#include <string>

#include "hosting/plugin/plugin_library.h"
#include "hosting/status/card_status.h"
#include "hosting/transport/snmp_status_texts.h"
#include "monitoring/config/access_config.h"
#include "monitoring/probe/probe_query.h"
#include "monitoring/probe/scrape_budget.h"
#include "monitoring/probe/session_pool.h"

namespace t740::monitoring {

struct ProbeResult {
  bool up = false;
  std::string reason;  // why not, when not up
  host::CardStatus status;
  double seconds = 0;
  bool snmpTimedOut = false;  // no answer within the tries, the engine's discovery included
  int snmpRequests = 0;       // SNMP messages sent: every try, the discovery's included
};

// The texts decoded: up when the plug-in took the alarm status and the
// performance data (the LED codes are not decoded: the plug-in's codes do
// not follow the status).
ProbeResult DecodeStatusTexts(const host::PluginExports& exports, const host::StatusTexts& texts);

ProbeResult ProbeCard(const host::PluginExports& exports, SessionPool& sessions,
                      const ProbeTarget& target, const Auth& auth, SnmpTries tries);

}  // namespace t740::monitoring

#endif
