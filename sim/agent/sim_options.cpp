#include "sim/agent/sim_options.h"

#include <arpa/inet.h>

#include <fstream>
#include <sstream>

#include "common/option_table.h"
#include "sim/agent/agent_addresses.h"
#include "sim/card_list.h"
#include "sim/default_card.h"

namespace t740::sim {
namespace {

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
  if (!IsCardAddress(value)) {
    throw SimUsageError("--card: '" + value + "' is not a card address of 2 to 4 digits");
  }
  options.cardAddress = value;
}

void StoreCards(SimOptions& options, const std::string& value) {
  try {
    options.cards = ParseCardList(value);
    options.cardsText = value;
  } catch (const CardListError& error) {
    throw SimUsageError(std::string("--cards: ") + error.what());
  }
}

void StoreAgents(SimOptions& options, const std::string& value) {
  try {
    options.agents = ParseAgentAddresses(value);
  } catch (const AgentAddressError& error) {
    throw SimUsageError(std::string("--agents: ") + error.what());
  }
}

void StoreEvents(SimOptions& options, const std::string& value) {
  std::ifstream file(value, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file) throw SimUsageError("--events: cannot read '" + value + "'");
  try {
    options.events = ParseLineEvents(text.str());
    options.eventsPath = value;
  } catch (const LineEventError& error) {
    throw SimUsageError("--events " + value + ": " + error.what());
  }
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

// The community is spliced into a net-snmp configuration line, where these
// bytes split, quote, escape or comment instead of standing for themselves.
struct SpecialByte {
  char byte;
  const char* name;
};
constexpr SpecialByte kSpecialBytes[] = {
    {' ', "a space"},      {'"', "a double quote"}, {'\'', "a single quote"},
    {'\\', "a backslash"}, {'#', "a '#'"},
};

std::string ByteProblem(char c) {
  for (const SpecialByte& special : kSpecialBytes) {
    if (c == special.byte) {
      return std::string("the community holds ") + special.name +
             ", which net-snmp's configuration lines read specially";
    }
  }
  if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
    return "the community holds a control character";
  }
  return "";
}

// Why net-snmp would not take `community` as one whole community; empty
// when it would.
std::string CommunityProblem(const std::string& community) {
  if (community.empty()) return "the community is empty";
  if (community[0] == '-') {
    return "the community begins with '-', which net-snmp reads as an option";
  }
  for (const char c : community) {
    if (std::string problem = ByteProblem(c); !problem.empty()) return problem;
  }
  return "";
}

void StoreCommunity(std::string& community, const char* option, const std::string& value) {
  const std::string problem = CommunityProblem(value);
  if (!problem.empty()) throw SimUsageError(std::string(option) + ": " + problem);
  community = value;
}

const OptionEntry<SimOptions> kOptions[] = {
    {"--ip", "ADDRESS", "the card's management IP address; default 192.168.1.100", StoreIp},
    {"--card", "ADDRESS", "the card address, 2 to 4 digits; default 0107", StoreCardAddress},
    {"--cards", "LIST",
     "the cards of every agent's shelf, addresses and ranges of them:\n"
     "0101-0116,0301; default: the one --card",
     StoreCards},
    {"--agents", "N|LIST",
     "N agents on 127.0.0.1 to 127.0.0.N, or a list of addresses of\n"
     "127.0.0.0/8, each with its own shelf and engine id, all on one port;\n"
     "agent k's cards answer to --ip + k; default 1",
     StoreAgents},
    {"--port", "PORT", "the UDP port on every agent's address; default 0, a free one", StorePort},
    {"--events", "FILE",
     "line faults on a schedule, one a line: TIME AGENT CARD PORT EVENT,\n"
     "+5s 127.0.0.3 0104 B fibre-pulled (events: fibre-pulled,\n"
     "fibre-restored, trace-mismatch, trace-restored, errored-seconds N)",
     StoreEvents},
    {"--targets-file", "FILE",
     "once listening, write every card as a Prometheus file service\n"
     "discovery document: its agent's address:port, label card",
     [](SimOptions& options, const std::string& value) {
       if (value.empty()) throw SimUsageError("--targets-file: the file name is empty");
       options.targetsPath = value;
     }},
    {"--read-community", "TEXT",
     "the community that may read; default public (no spaces, quotes,\n"
     "backslashes, '#', control characters or leading '-')",
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
    {"--notify", "ADDRESS[:PORT]",
     "send a notification to ADDRESS (UDP port 162 by default) whenever\n"
     "a card's alarm rises or clears, and for the alarms present at the\n"
     "start: SNMPv2c traps with the read community; may be repeated",
     [](SimOptions& options, const std::string& value) {
       options.notify.push_back(ParseNotifyTarget(value));
     }},
    {"--notify-v3-user", "NAME",
     "send SNMPv3 informs as this --v3-users user instead of traps; an\n"
     "inform not acknowledged after its retries is dropped and said on\n"
     "stderr with the count dropped so far",
     [](SimOptions& options, const std::string& value) {
       if (value.empty()) throw SimUsageError("--notify-v3-user: the user name is empty");
       options.notifyUser = value;
     }},
    {"--inform-timeout", "MS", "wait this long for an inform's acknowledgement; default 1000",
     [](SimOptions& options, const std::string& value) {
       options.informTimeoutMilliseconds = Number("--inform-timeout", value, kMillisecondsMaximum);
       if (options.informTimeoutMilliseconds == 0)
         throw SimUsageError("--inform-timeout: MS must be 1 or more");
     }},
    {"--inform-retries", "N", "send an unacknowledged inform this many times more; default 5",
     [](SimOptions& options, const std::string& value) {
       options.informRetries = Number("--inform-retries", value, 100);
     }},
    // A flag: no value.
    {"--no-v2c", nullptr, "answer SNMPv3 only: SNMPv2c requests go unanswered",
     [](SimOptions& options, const std::string&) { options.v2c = false; }},
};

// Informs go out as one of the agent's own users.
void CheckNotifyUser(const SimOptions& options) {
  if (options.notifyUser.empty()) return;
  if (options.notify.empty()) throw SimUsageError("--notify-v3-user: give --notify ADDRESS too");
  for (const UsmUserEntry& user : options.users) {
    if (user.name == options.notifyUser) return;
  }
  throw SimUsageError("--notify-v3-user: no user '" + options.notifyUser + "' in --v3-users");
}

}  // namespace

SimOptions ParseSimOptions(const std::vector<std::string>& words) {
  SimOptions options;
  options.ip = kDefaultIp;
  options.communities = {"public", "private"};
  options.agents = {"127.0.0.1"};
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
  if (!options.cardsText.empty() && !options.cardAddress.empty()) {
    throw SimUsageError("--card and --cards: give one of them");
  }
  if (options.cardAddress.empty()) options.cardAddress = kDefaultCardAddress;
  if (options.cards.empty()) options.cards = {options.cardAddress};
  if (options.agents.size() * options.cards.size() > kServedCardsMaximum) {
    throw SimUsageError(
        "--agents and --cards: " + std::to_string(options.agents.size() * options.cards.size()) +
        " cards in all; t740-sim serves at most " + std::to_string(kServedCardsMaximum));
  }
  CheckNotifyUser(options);
  if (!options.v2c && options.users.empty()) {
    throw SimUsageError("--no-v2c leaves nobody to answer: give --v3-users FILE");
  }
  return options;
}

std::string SimHelp() {
  const std::string help =
      "Usage: t740-sim [options]\n"
      "\n"
      "Serves simulated t740 cards as SNMP agents (v2c, and v3 with\n"
      "--v3-users): one card on a UDP port of 127.0.0.1 by default, or a\n"
      "network of agents on 127.0.0.0/8 with a shelf of cards each. Prints a\n"
      "line per agent: its cards, address, engine id and engine boots count.\n"
      "SIGTERM or SIGINT stops it.\n"
      "\n"
      "The first card of the first agent shows several faults at once; every\n"
      "other card starts as its addresses say: the 32-bit FNV-1a hash of\n"
      "\"AGENT/CARD\" (\"127.0.0.3/0104\") modulo 20 is healthy for 0-13, a\n"
      "pulled fibre for 14, a wrong far-end trace for 15, line loopback for\n"
      "16, loopback inside the card for 17 and an errored line for 18-19, on\n"
      "the port A-D given by the hash divided by 20, modulo 4.\n"
      "\n"
      "Options:\n";
  return help + TableHelp(kOptions) + OptionHelp("-h, --help", nullptr, "show this help");
}

}  // namespace t740::sim
