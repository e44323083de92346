#include "hosting/transport/sim_fault_option.h"

#include <cctype>

#include "hosting/errors/host_error.h"

namespace t740::host {
namespace {

// How long the "delay" fault holds each answer when no time is given.
constexpr int kDefaultDelayMilliseconds = 500;
constexpr char kDelayName[] = "delay";

// The groups the card answers and the status texts the host fetches.
const char* const kTargets[] = {".1",  ".11",   ".12", ".13",        ".50",
                                ".51", "alarm", "led", "performance"};

[[noreturn]] void Bad(const std::string& what) {
  throw UsageError("--sim-fault: " + what);
}

bool KnownTarget(const std::string& target) {
  for (const char* known : kTargets) {
    if (target == known) return true;
  }
  return false;
}

int DelayMilliseconds(const std::string& text) {
  bool digits = !text.empty() && text.size() <= 9;
  for (char c : text) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  if (!digits || std::stoi(text) == 0) {
    Bad("'" + text + "' is not a delay of 1 to 999999999 milliseconds");
  }
  return std::stoi(text);
}

}  // namespace

sim::Fault ParseSimFault(const std::string& text) {
  const size_t colon = text.find(':');
  const std::string kindWord = text.substr(0, colon);
  const size_t equals = kindWord.find('=');
  const std::string kindName = kindWord.substr(0, equals);
  const auto kind = sim::FaultKindNamed(kindName);
  if (!kind) Bad("unknown fault '" + kindName + "'");
  if (equals != std::string::npos && kindName != kDelayName) {
    Bad("the fault '" + kindName + "' takes no value");
  }
  sim::Fault fault{*kind, colon == std::string::npos ? "" : text.substr(colon + 1)};
  if (colon != std::string::npos && !KnownTarget(fault.target)) {
    Bad("unknown target '" + fault.target +
        "' (a group .1, .11, .12, .13, .50, .51 or alarm, led, performance)");
  }
  fault.delayMilliseconds = equals == std::string::npos
                                ? kDefaultDelayMilliseconds
                                : DelayMilliseconds(kindWord.substr(equals + 1));
  return fault;
}

}  // namespace t740::host
