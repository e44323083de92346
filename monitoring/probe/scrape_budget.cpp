#include "monitoring/probe/scrape_budget.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace t740::monitoring {

std::optional<int> ScrapeBudgetMilliseconds(const std::string& header) {
  if (header.empty()) return std::nullopt;
  char* end = nullptr;
  const double seconds = std::strtod(header.c_str(), &end);
  if (end != header.c_str() + header.size() || !std::isfinite(seconds) || seconds <= 0) {
    return std::nullopt;
  }
  const double budget = std::min(seconds - kScrapeMarginSeconds, 3600.0) * 1000;
  return std::max(kBudgetMinimumMilliseconds, static_cast<int>(budget));
}

SnmpTries FitTries(SnmpTries configured, std::optional<int> budgetMilliseconds) {
  if (!budgetMilliseconds) return configured;
  const int budget = *budgetMilliseconds;
  if (configured.timeoutMilliseconds > budget) return {budget, 0};
  const int tries = std::min(configured.retries + 1, budget / configured.timeoutMilliseconds);
  return {configured.timeoutMilliseconds, tries - 1};
}

}  // namespace t740::monitoring
