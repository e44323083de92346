#include "sim_process.h"

#include <cstdlib>

namespace t740::bench {
namespace {

std::vector<std::string> SimArguments(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {T740_SIM_AGENT, "--port", "0"});
  return arguments;
}

}  // namespace

// "... listening on 127.0.0.1:PORT engine id 0x..."
SimProcess::SimProcess(const char* benchmark, std::vector<std::string> arguments)
    : process_(benchmark, SimArguments(std::move(arguments)), "listening on "),
      port_(static_cast<uint16_t>(
          std::atoi(process_.AfterMarker().c_str() + process_.AfterMarker().find(':') + 1))) {}

}  // namespace t740::bench
