// The alarm desk's JSON answers, written from what the book, the log, the
// probes and Alertmanager hold.
#ifndef T740_ALERTER_DESK_DESK_JSON_H
#define T740_ALERTER_DESK_DESK_JSON_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "alerter/alarms/alarm_book.h"
#include "alerter/cards/card_target.h"
#include "alerter/desk/acknowledgement.h"
#include "alerter/desk/event_ring.h"
#include "alerter/desk/silence.h"
#include "alerter/history/alarm_log.h"
#include "monitoring/probe/card_prober.h"

namespace t740::alerter {

std::string SessionJson(const std::string& token, const std::string& user,
                        const std::string& version);
// Nothing for `log` when the alerter keeps none.
std::string SummaryJson(const std::vector<CardTarget>& cards, const std::vector<CardHealth>& health,
                        const std::optional<AlarmLogHealth>& log);
// Worst first: critical, then warning, then the oldest.
std::string AlarmsJson(uint64_t seq, std::vector<CurrentAlarm> alarms,
                       const std::map<std::string, Acknowledgement>& acknowledged,
                       const std::vector<Silence>& silences);
std::string EventsJson(const EventPage& page);
std::string LogJson(const std::vector<LogEntry>& entries, std::optional<int64_t> next);
std::string CardJson(const CardTarget& card, const monitoring::ProbeResult& probe,
                     const std::vector<LogEntry>& log);
std::string SilenceIdJson(const std::string& id);

void AppendLogEntry(std::string& out, const LogEntry& entry);

}  // namespace t740::alerter

#endif
