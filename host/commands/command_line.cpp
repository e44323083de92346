#include "host/commands/command_line.h"

#include <arpa/inet.h>

#include <cmath>
#include <cstdlib>

#include "common/option_table.h"
#include "hosting/errors/host_error.h"
#include "hosting/transport/sim_fault_option.h"
#include "hosting/transport/snmp_options.h"
#include "hosting/transport/snmp_v3_options.h"
#include "sim/card_list.h"
#include "sim/default_card.h"

namespace t740::host {
namespace {

void StoreIp(HostOptions& options, const std::string& value) {
  in_addr address;
  if (inet_pton(AF_INET, value.c_str(), &address) != 1) {
    throw UsageError("--ip: '" + value + "' is not an IPv4 address");
  }
  options.ip = value;
}

// The same card addresses t740-sim serves: one digit leaves the card's
// identifiers without a second address field.
void StoreCardAddress(HostOptions& options, const std::string& value) {
  if (!sim::IsCardAddress(value)) {
    throw UsageError("--card: '" + value + "' is not a card address of 2 to 4 digits");
  }
  options.cardAddress = value;
}

void StoreSimFault(HostOptions& options, const std::string& value) {
  ParseSimFault(value);
  options.simFaults.push_back(value);
}

void StoreTimeLimit(HostOptions& options, const std::string& value) {
  char* end = nullptr;
  const double seconds = std::strtod(value.c_str(), &end);
  if (value.empty() || *end != '\0' || !std::isfinite(seconds) || seconds <= 0) {
    throw UsageError("--time-limit: '" + value + "' is not a positive number of seconds");
  }
  options.timeLimitSeconds = seconds;
}

// Faults are the simulated card's; another transport would ignore them.
void CheckSimFaults(const HostOptions& options) {
  if (!options.simFaults.empty() && options.transport != "sim") {
    throw UsageError(
        "--sim-fault: only the simulated card takes faults, not --snmp or --transport " +
        options.transport);
  }
}

const OptionEntry<HostOptions> kOptions[] = {
    {"--plugin", "PATH",
     "the plug-in to load; default the installed one relative to t740-host\n"
     "(../lib/<multiarch>/libt740.so.1), else libt740.so.1 by the loader's\n"
     "search",
     [](HostOptions& options, const std::string& value) { options.pluginPath = value; }},
    {"--host-directory", "DIR",
     "where the plug-in keeps the port remarks (DIR/Devices); default\n"
     "$T740_HOST_DIRECTORY, else $XDG_STATE_HOME/t740, else\n"
     "~/.local/state/t740",
     [](HostOptions& options, const std::string& value) {
       if (value.empty()) throw UsageError("--host-directory needs a directory");
       options.hostDirectory = value;
     }},
    {"--ip", "ADDRESS", "the card's management IP address; default 192.168.1.100", StoreIp},
    {"--card", "ADDRESS", "the card address, 2 to 4 digits; default 0107", StoreCardAddress},
    {"--transport", "NAME",
     "how requests reach the card: sim, the simulated card in-process;\n"
     "snmp, an SNMP agent (see --snmp)",
     [](HostOptions& options, const std::string& value) { options.transport = value; }},
    {"--sim-fault", "KIND[:TARGET]",
     "make the simulated card misbehave: short, nothing, untouched,\n"
     "reject-writes, delay (500 ms, or delay=MS) or throw; TARGET is a\n"
     "group suffix (.1, .11, .12, .13, .50, .51) or alarm, led,\n"
     "performance; may be repeated; only with --transport sim",
     StoreSimFault},
    {"--snmp", "ADDRESS[:PORT]",
     "reach the card over SNMP at this agent (IPv4, port default 161);\n"
     "sets --transport snmp",
     StoreSnmpAgent},
    {"--snmp-read-community", "TEXT", "the community of reads; default public",
     StoreSnmpReadCommunity},
    {"--snmp-write-community", "TEXT", "the community of writes; default private",
     StoreSnmpWriteCommunity},
    {"--snmp-timeout", "MS", "how long each try waits for the agent; default 1000",
     StoreSnmpTimeout},
    {"--snmp-retries", "N", "tries after the first; default 1", StoreSnmpRetries},
    {"--snmp-version", "2c|3", "SNMPv2c with communities (the default) or SNMPv3 with a user",
     StoreSnmpVersion},
    {"--snmp-user", "NAME", "the SNMPv3 user", StoreSnmpUser},
    {"--snmp-security-level", "LEVEL",
     "noAuthNoPriv, authNoPriv or authPriv (the default) for SNMPv3", StoreSnmpSecurityLevel},
    {"--snmp-auth-protocol", "NAME", "SHA (HMAC-SHA-1, the default) or SHA-256",
     StoreSnmpAuthProtocol},
    {"--snmp-priv-protocol", "NAME", "AES (AES-128, the default and only one)",
     StoreSnmpPrivProtocol},
    {"--snmp-auth-pass-file", "FILE",
     "the authentication pass phrase, first line of a file only its owner\n"
     "may read; default: T740_SNMP_AUTH_PASS in the environment",
     StoreSnmpAuthPassFile},
    {"--snmp-priv-pass-file", "FILE",
     "the privacy pass phrase, likewise; default: T740_SNMP_PRIV_PASS", StoreSnmpPrivPassFile},
    {"--time-limit", "SECONDS",
     "end the run with status 1 after this long, with pictures of the open\n"
     "windows; default 120 without a display, none for a window on the screen",
     StoreTimeLimit},
    // A flag: no value.
    {"--trace", nullptr, "say on the error stream why a request over SNMP failed",
     [](HostOptions& options, const std::string&) { options.trace = true; }},
};

bool IsHelp(const std::string& word) {
  return word == "-h" || word == "--help";
}

}  // namespace

HostOptions DefaultHostOptions() {
  HostOptions options;
  options.ip = sim::kDefaultIp;
  options.cardAddress = sim::kDefaultCardAddress;
  options.transport = "sim";
  return options;
}

CommandLine ParseCommandLine(const std::vector<std::string>& words) {
  CommandLine line;
  line.options = DefaultHostOptions();
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (IsHelp(word)) {
      line.help = true;
      continue;
    }
    if (word.rfind("-", 0) != 0 || word == "-") {
      if (line.command.empty()) {
        line.command = word;
      } else {
        line.arguments.push_back(word);
      }
      continue;
    }
    // After the command, the command judges its own options.
    if (StoreOption<UsageError>(kOptions, words, i, line.options)) continue;
    if (line.command.empty()) throw UsageError("unknown option '" + word + "'");
    line.arguments.push_back(word);
  }
  CheckSimFaults(line.options);
  return line;
}

std::string OptionsHelp() {
  return "Options:\n" + TableHelp(kOptions) +
         OptionHelp("-h, --help", nullptr, "show this help, or a command's help after its name");
}

}  // namespace t740::host
