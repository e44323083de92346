// How long a probe may spend on SNMP: the scrape time-out Prometheus sends
// (X-Prometheus-Scrape-Timeout-Seconds) less a margin for decoding and
// answering, bounds the configured time-out × tries.
#ifndef T740_MONITORING_PROBE_SCRAPE_BUDGET_H
#define T740_MONITORING_PROBE_SCRAPE_BUDGET_H

#include <optional>
#include <string>

namespace t740::monitoring {

constexpr double kScrapeMarginSeconds = 0.5;
// Below this nothing useful can be asked of a card.
constexpr int kBudgetMinimumMilliseconds = 100;

struct SnmpTries {
  int timeoutMilliseconds;  // each try
  int retries;
};

// The header's seconds less the margin, in milliseconds; nothing when the
// header is absent or no positive number.
std::optional<int> ScrapeBudgetMilliseconds(const std::string& header);

// The configured tries, cut to fit the budget: fewer retries while a whole
// try fits, else one try of the whole budget.
SnmpTries FitTries(SnmpTries configured, std::optional<int> budgetMilliseconds);

}  // namespace t740::monitoring

#endif
