// The card's status texts decoded by the plug-in's exports, as every host
// calls them: sixteen GetWarning calls, one GetLedState, and
// GetPerformanceData for the current and history records of both periods.
// The exports are safe from several threads at once.
#ifndef T740_HOSTING_STATUS_STATUS_DECODER_H
#define T740_HOSTING_STATUS_STATUS_DECODER_H

#include <string>
#include <vector>

#include "hosting/errors/host_error.h"
#include "hosting/plugin/plugin_library.h"
#include "hosting/status/card_status.h"

namespace t740::host {

// The plug-in rejected a status text; what() names the text and its length.
class StatusRejected : public HostError {
 public:
  using HostError::HostError;
};

std::vector<AlarmRow> DecodeAlarms(const PluginExports& exports, const std::string& status);
LedRow DecodeLeds(const PluginExports& exports, const std::string& status);
// The four sections: 15 minutes current and history, 24 hours likewise.
std::vector<PerfSection> DecodePerformance(const PluginExports& exports, const std::string& data);

}  // namespace t740::host

#endif
