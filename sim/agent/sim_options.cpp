#include "sim/agent/sim_options.h"

#include <arpa/inet.h>

#include "common/option_table.h"
#include "sim/default_card.h"

namespace t740::sim {
namespace {

constexpr size_t kCardAddressMinimum = 2;  // one digit leaves no second field
constexpr size_t kCardAddressMaximum = 4;
constexpr unsigned long kPortMaximum = 65535;

bool AllDigits(const std::string& text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

void StoreIp(SimOptions& options, const std::string& value) {
  in_addr address;
  if (inet_pton(AF_INET, value.c_str(), &address) != 1) {
    throw SimUsageError("--ip: '" + value + "' is not an IPv4 address");
  }
  options.ip = value;
}

void StoreCardAddress(SimOptions& options, const std::string& value) {
  if (!AllDigits(value) || value.size() < kCardAddressMinimum ||
      value.size() > kCardAddressMaximum) {
    throw SimUsageError("--card: '" + value + "' is not a card address of 2 to 4 digits");
  }
  options.cardAddress = value;
}

void StorePort(SimOptions& options, const std::string& value) {
  if (!AllDigits(value) || value.size() > 5 || std::stoul(value) > kPortMaximum) {
    throw SimUsageError("--port: '" + value + "' is not a port number from 0 to 65535");
  }
  options.port = static_cast<uint16_t>(std::stoul(value));
}

int Number(const char* option, const std::string& value, unsigned long maximum) {
  if (!AllDigits(value) || value.size() > 9 || std::stoul(value) > maximum) {
    throw SimUsageError(std::string(option) + ": '" + value + "' is not a number from 0 to " +
                        std::to_string(maximum));
  }
  return static_cast<int>(std::stoul(value));
}

constexpr unsigned long kPercentMaximum = 100;
constexpr unsigned long kMillisecondsMaximum = 600000;

// N:MS, every N requests a silence of MS milliseconds.
void StoreStall(SimOptions& options, const std::string& value) {
  const size_t colon = value.find(':');
  if (colon == std::string::npos) throw SimUsageError("--stall: '" + value + "' is not N:MS");
  options.link.stallEvery = Number("--stall", value.substr(0, colon), 1000000);
  options.link.stallMilliseconds = Number("--stall", value.substr(colon + 1), kMillisecondsMaximum);
  if (options.link.stallEvery == 0) throw SimUsageError("--stall: N must be 1 or more");
}

void StoreCommunity(std::string& community, const char* option, const std::string& value) {
  if (value.empty()) throw SimUsageError(std::string(option) + ": the community is empty");
  community = value;
}

const OptionEntry<SimOptions> kOptions[] = {
    {"--ip", "ADDRESS", "the card's management IP address; default 192.168.1.100", StoreIp},
    {"--card", "ADDRESS", "the card address, 2 to 4 digits; default 0107", StoreCardAddress},
    {"--port", "PORT", "the UDP port on 127.0.0.1; default 0, a free one", StorePort},
    {"--read-community", "TEXT", "the community that may read; default public",
     [](SimOptions& options, const std::string& value) {
       StoreCommunity(options.communities.read, "--read-community", value);
     }},
    {"--write-community", "TEXT", "the community that may read and write; default private",
     [](SimOptions& options, const std::string& value) {
       StoreCommunity(options.communities.write, "--write-community", value);
     }},
    {"--v3-users", "FILE",
     "SNMPv3 users, one a line: NAME LEVEL [AUTH PASS [PRIV PASS]] (LEVEL\n"
     "noAuthNoPriv, authNoPriv or authPriv; AUTH SHA or SHA-256; PRIV AES);\n"
     "the file must be private to its owner",
     [](SimOptions& options, const std::string& value) { options.users = ReadUsmUsers(value); }},
    {"--lose-requests", "PERCENT", "lose this share of the requests on the way to the card",
     [](SimOptions& options, const std::string& value) {
       options.link.loseRequestsPercent = Number("--lose-requests", value, kPercentMaximum);
     }},
    {"--lose-answers", "PERCENT",
     "lose this share of the answers, after the card has acted on the request",
     [](SimOptions& options, const std::string& value) {
       options.link.loseAnswersPercent = Number("--lose-answers", value, kPercentMaximum);
     }},
    {"--duplicate", "PERCENT", "deliver this share of the requests twice",
     [](SimOptions& options, const std::string& value) {
       options.link.duplicatePercent = Number("--duplicate", value, kPercentMaximum);
     }},
    {"--delay", "MS", "delay every answer this long",
     [](SimOptions& options, const std::string& value) {
       options.link.delayMilliseconds = Number("--delay", value, kMillisecondsMaximum);
     }},
    {"--jitter", "MS", "delay every answer up to this much more, at random",
     [](SimOptions& options, const std::string& value) {
       options.link.jitterMilliseconds = Number("--jitter", value, kMillisecondsMaximum);
     }},
    {"--stall", "N:MS", "after every N requests, pass nothing for MS milliseconds", StoreStall},
    {"--fault-seed", "N", "the seed of the link's random choices; default 1",
     [](SimOptions& options, const std::string& value) {
       options.link.seed = static_cast<unsigned>(Number("--fault-seed", value, 999999999));
     }},
    {"--state-dir", "DIR",
     "keep the SNMPv3 engine boots count in DIR (made when missing), one\n"
     "more at every start; default: the wall clock's seconds since 2020",
     [](SimOptions& options, const std::string& value) {
       if (value.empty()) throw SimUsageError("--state-dir: the directory is empty");
       options.stateDirectory = value;
     }},
    // A flag: no value.
    {"--no-v2c", nullptr, "answer SNMPv3 only: SNMPv2c requests go unanswered",
     [](SimOptions& options, const std::string&) { options.v2c = false; }},
};

}  // namespace

SimOptions ParseSimOptions(const std::vector<std::string>& words) {
  SimOptions options;
  options.ip = kDefaultIp;
  options.cardAddress = kDefaultCardAddress;
  options.communities = {"public", "private"};
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "-h" || word == "--help") {
      options.help = true;
      continue;
    }
    if (!StoreOption<SimUsageError>(kOptions, words, i, options)) {
      throw SimUsageError("unknown argument '" + word + "'");
    }
  }
  if (!options.v2c && options.users.empty()) {
    throw SimUsageError("--no-v2c leaves nobody to answer: give --v3-users FILE");
  }
  return options;
}

std::string SimHelp() {
  const std::string help =
      "Usage: t740-sim [options]\n"
      "\n"
      "Serves one simulated t740 card as an SNMP agent (v2c, and v3 with\n"
      "--v3-users) on a UDP port of 127.0.0.1, and prints the address it\n"
      "listens on, its engine id and engine boots count. SIGTERM or SIGINT\n"
      "stops it.\n"
      "\n"
      "Options:\n";
  return help + TableHelp(kOptions) + OptionHelp("-h, --help", nullptr, "show this help");
}

}  // namespace t740::sim
