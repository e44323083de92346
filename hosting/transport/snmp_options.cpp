#include "hosting/transport/snmp_options.h"

#include <arpa/inet.h>

#include "hosting/errors/host_error.h"

namespace t740::host {
namespace {

constexpr int kDefaultSnmpPort = 161;
constexpr int kPortMaximum = 65535;
constexpr int kTimeoutMaximum = 60000;
constexpr int kRetriesMaximum = 10;
constexpr size_t kDigitsMaximum = 9;

// A decimal number from `low` to `high`; nothing for anything else.
bool ParseNumber(const std::string& text, int low, int high, int& number) {
  if (text.empty() || text.size() > kDigitsMaximum) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  number = std::stoi(text);
  return number >= low && number <= high;
}

void StoreCommunity(std::string& community, const char* option, const std::string& value) {
  if (value.empty()) throw UsageError(std::string(option) + ": the community is empty");
  community = value;
}

}  // namespace

void StoreSnmpAgent(HostOptions& options, const std::string& value) {
  const size_t colon = value.find(':');
  const std::string host = value.substr(0, colon);
  in_addr address;
  if (inet_pton(AF_INET, host.c_str(), &address) != 1) {
    throw UsageError("--snmp: '" + host + "' is not an IPv4 address");
  }
  int port = kDefaultSnmpPort;
  if (colon != std::string::npos && !ParseNumber(value.substr(colon + 1), 1, kPortMaximum, port)) {
    throw UsageError("--snmp: '" + value.substr(colon + 1) + "' is not a port from 1 to 65535");
  }
  options.snmp.host = host;
  options.snmp.port = port;
  options.transport = "snmp";
}

void StoreSnmpReadCommunity(HostOptions& options, const std::string& value) {
  StoreCommunity(options.snmp.readCommunity, "--snmp-read-community", value);
}

void StoreSnmpWriteCommunity(HostOptions& options, const std::string& value) {
  StoreCommunity(options.snmp.writeCommunity, "--snmp-write-community", value);
}

void StoreSnmpTimeout(HostOptions& options, const std::string& value) {
  if (!ParseNumber(value, 1, kTimeoutMaximum, options.snmp.timeoutMilliseconds)) {
    throw UsageError("--snmp-timeout: '" + value + "' is not a number of milliseconds from 1 to " +
                     std::to_string(kTimeoutMaximum));
  }
}

void StoreSnmpRetries(HostOptions& options, const std::string& value) {
  if (!ParseNumber(value, 0, kRetriesMaximum, options.snmp.retries)) {
    throw UsageError("--snmp-retries: '" + value + "' is not a number from 0 to " +
                     std::to_string(kRetriesMaximum));
  }
}

}  // namespace t740::host
