// t740-host status: the card's status texts, decoded by the plug-in.
#include <optional>
#include <string>
#include <vector>

#include "host/commands/command.h"
#include "host/commands/command_options.h"
#include "hosting/errors/host_error.h"
#include "hosting/plugin/waiting_for.h"
#include "hosting/status/status_decoder.h"
#include "hosting/status/status_json.h"
#include "hosting/status/status_report.h"

namespace t740::host {
namespace {

std::string CardName(const HostOptions& options) {
  return "the card at " + options.ip + ", card address " + options.cardAddress;
}

std::string Fetch(HostContext& context, StatusText text) {
  std::string status;
  const Waiting waiting(std::string("the card's ") + StatusTextName(text));
  try {
    status = context.CardTransport().FetchStatus(text, context.Options().ip,
                                                 context.Options().cardAddress);
  } catch (const std::exception& error) {
    throw HostError(std::string("fetching the ") + StatusTextName(text) +
                    " failed: " + error.what());
  }
  if (status.empty()) {
    throw HostError(std::string("no ") + StatusTextName(text) + " from " +
                    CardName(context.Options()));
  }
  return status;
}

// Runs one part of the report; a failing part is told on the error stream
// and the others still run.
template <typename Part>
void Report(HostContext& context, Part part) {
  try {
    part();
  } catch (const HostError& error) {
    context.Err() << "t740-host: " << error.what() << "\n";
  }
}

CardStatus FetchCardStatus(HostContext& context, const PluginExports& exports) {
  CardStatus status;
  Report(context,
         [&] { status.alarms = DecodeAlarms(exports, Fetch(context, StatusText::Alarm)); });
  Report(context, [&] { status.leds = DecodeLeds(exports, Fetch(context, StatusText::Led)); });
  Report(context, [&] {
    status.performance = DecodePerformance(exports, Fetch(context, StatusText::Performance));
  });
  return status;
}

void PrintStatusText(HostContext& context, const CardOrigin& origin, const CardStatus& status) {
  std::ostream& out = context.Out();
  out << "t740 card " << origin.cardAddress << " at " << origin.ip << " (" << origin.transport
      << "), plug-in " << origin.plugin << "\n\n";
  if (status.alarms) {
    PrintAlarms(out, context.Terminal(), *status.alarms);
    out << "\n";
  }
  if (status.leds) {
    PrintLeds(out, *status.leds);
    out << "\n";
  }
  if (status.performance) {
    for (const PerfSection& section : *status.performance) {
      PrintPerformance(out, context.Terminal(), section);
      out << "\n";
    }
    PrintPerformanceLegend(out);
  }
}

struct Format {
  const char* name;
  void (*print)(HostContext& context, const CardOrigin& origin, const CardStatus& status);
};

const Format kFormats[] = {
    {"text", PrintStatusText},
    {"json", [](HostContext& context, const CardOrigin& origin,
                const CardStatus& status) { PrintStatusJson(context.Out(), origin, status); }},
};

const Format& FormatOption(const std::vector<std::string>& arguments) {
  std::map<std::string, std::string> options;
  try {
    options = ParseCommandOptions(arguments, {"--format"});
  } catch (const UsageError& error) {
    throw UsageError(std::string("status: ") + error.what());
  }
  const auto given = options.find("--format");
  if (given == options.end()) return kFormats[0];
  for (const Format& format : kFormats) {
    if (given->second == format.name) return format;
  }
  throw UsageError("--format: unknown format '" + given->second + "' (text or json)");
}

int RunStatus(HostContext& context, const std::vector<std::string>& arguments) {
  const Format& format = FormatOption(arguments);
  context.LimitTime(true);
  const PluginSession& plugin = context.Plugin();
  const CardOrigin origin{context.Options().ip, context.Options().cardAddress,
                          context.CardTransport().Description(), plugin.Library().Path()};
  const CardStatus status = FetchCardStatus(context, plugin.Exports());
  format.print(context, origin, status);
  return status.alarms && status.leds && status.performance ? kExitOk : kExitFailure;
}

}  // namespace

const Command& StatusCommand() {
  static const Command command = {
      "status",
      "show the card's alarms, LED states and performance records",
      "Usage: t740-host [options] status [--format text|json]\n"
      "\n"
      "Fetches the card's alarm status, LED status and performance data and prints\n"
      "them as the plug-in decodes them: the sixteen alarms with their levels\n"
      "(0 present, 5 clear), the LED state codes, and the current and history\n"
      "records of the 15-minute and 24-hour periods.\n"
      "\n"
      "--format json prints one UTF-8 JSON document instead of the tables: the\n"
      "card, \"alarms\" (type, port, name, text, level, present), \"leds\" (count,\n"
      "states) and \"performance\" (period, history, index, port, label, groups\n"
      "of counters as numbers, text); a part the card or the plug-in failed is\n"
      "null and \"complete\" is false.\n"
      "\n"
      "Exit status: 0 all decoded, 1 the card gave no status or the plug-in\n"
      "rejected one (the rest is still shown), 2 bad arguments.\n",
      RunStatus,
  };
  return command;
}

}  // namespace t740::host
