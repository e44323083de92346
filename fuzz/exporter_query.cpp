// The exporter's probe query from a raw query string, as its HTTP server
// splits and decodes it, and the --allow-target networks and the scrape
// time-out header: every input is taken or refused with a one-line reason,
// and what is taken is a card the exporter can ask.
#include <httplib.h>

#include <string>

#include "fuzz_input.h"
#include "monitoring/probe/probe_query.h"
#include "monitoring/probe/scrape_budget.h"
#include "monitoring/probe/target_allow_list.h"

namespace {

void CheckQuery(const std::string& text) {
  httplib::Params parameters;
  httplib::detail::parse_query_text(text, parameters);
  const t740::monitoring::ProbeQuery query = t740::monitoring::ParseProbeQuery(parameters);
  if (!query.target) {
    FUZZ_CHECK(!query.error.empty());
    FUZZ_CHECK(query.error.find('\n') == std::string::npos);
    return;
  }
  const t740::monitoring::ProbeTarget& target = *query.target;
  FUZZ_CHECK(t740::monitoring::ParseIpv4(target.address) == target.ipv4);
  FUZZ_CHECK(target.port >= 1 && target.port <= 65535);
  FUZZ_CHECK(target.card.size() >= 2 && target.card.size() <= 4);
  FUZZ_CHECK(target.card.find_first_not_of("0123456789") == std::string::npos);
  FUZZ_CHECK(parameters.count("auth") == (target.auth.empty() ? 0u : 1u));
}

void CheckAllowList(const std::string& text, uint32_t address) {
  const auto network = t740::monitoring::ParseCidr(text);
  if (!network) return;
  FUZZ_CHECK((network->address & ~network->mask) == 0);
  t740::monitoring::TargetAllowList list;
  list.Add(*network);
  FUZZ_CHECK(list.Allows(network->address));
  FUZZ_CHECK(list.Allows(address) == ((address & network->mask) == network->address));
}

void CheckBudget(const std::string& text) {
  const auto budget = t740::monitoring::ScrapeBudgetMilliseconds(text);
  if (!budget) return;
  FUZZ_CHECK(*budget >= t740::monitoring::kBudgetMinimumMilliseconds);
  const t740::monitoring::SnmpTries tries = t740::monitoring::FitTries({1000, 3}, budget);
  FUZZ_CHECK(tries.retries >= 0);
  FUZZ_CHECK(tries.timeoutMilliseconds * (tries.retries + 1) <= std::max(*budget, 1000));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  switch (input.Byte() % 3) {
    case 0:
      CheckQuery(std::string(input.Rest()));
      break;
    case 1: {
      const uint32_t address = static_cast<uint32_t>(input.Int32());
      CheckAllowList(std::string(input.Rest()), address);
      break;
    }
    default:
      CheckBudget(std::string(input.Rest()));
      break;
  }
  return 0;
}
