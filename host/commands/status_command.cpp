// t740-host status: the card's status texts, decoded by the plug-in.
#include <optional>
#include <string>
#include <vector>

#include "host/commands/command.h"
#include "host/commands/command_options.h"
#include "hosting/errors/host_error.h"
#include "hosting/plugin/waiting_for.h"
#include "hosting/status/status_json.h"
#include "hosting/status/status_report.h"

namespace t740::host {
namespace {

constexpr int32_t kAlarmTypes = 16;
// The plug-in writes A/C records from entry 0 and B/D records from 22.
constexpr int kPerfHalfEntries = 22;
constexpr int kPerfEntries = 2 * kPerfHalfEntries;

struct PerfQuery {
  int16_t period;
  int16_t history;
  const char* title;
};

constexpr PerfQuery kPerfQueries[] = {
    {15, 0, "Performance, 15 minutes, current"},
    {15, 1, "Performance, 15 minutes, history"},
    {24, 0, "Performance, 24 hours, current"},
    {24, 1, "Performance, 24 hours, history"},
};

struct StatusName {
  StatusText text;
  const char* name;
};

constexpr StatusName kStatusNames[] = {
    {StatusText::Alarm, "alarm status"},
    {StatusText::Led, "LED status"},
    {StatusText::Performance, "performance data"},
};

const char* NameOf(StatusText text) {
  for (const StatusName& entry : kStatusNames) {
    if (entry.text == text) return entry.name;
  }
  return "status";
}

std::string CardName(const HostOptions& options) {
  return "the card at " + options.ip + ", card address " + options.cardAddress;
}

std::string Fetch(HostContext& context, StatusText text) {
  std::string status;
  const Waiting waiting(std::string("the card's ") + NameOf(text));
  try {
    status = context.CardTransport().FetchStatus(text, context.Options().ip,
                                                 context.Options().cardAddress);
  } catch (const std::exception& error) {
    throw HostError(std::string("fetching the ") + NameOf(text) + " failed: " + error.what());
  }
  if (status.empty()) {
    throw HostError(std::string("no ") + NameOf(text) + " from " + CardName(context.Options()));
  }
  return status;
}

[[noreturn]] void Rejected(StatusText text, const std::string& status) {
  throw HostError(std::string("the plug-in rejected the ") + NameOf(text) + " (" +
                  std::to_string(status.size()) + " characters)");
}

std::vector<AlarmRow> DecodeAlarms(const PluginExports& exports, const std::string& status) {
  std::vector<AlarmRow> rows;
  for (int32_t type = 1; type <= kAlarmTypes; ++type) {
    int16_t level = 0;
    CText text;
    if (!exports.getWarning(type, CText(status), CText(), &level, &text)) {
      Rejected(StatusText::Alarm, status);
    }
    rows.push_back({type, level, std::string(text.view())});
  }
  return rows;
}

LedRow DecodeLeds(const PluginExports& exports, const std::string& status) {
  int16_t count = 0;
  CText states;
  if (!exports.getLedState(0, CText(status), &count, &states)) Rejected(StatusText::Led, status);
  return {count, std::string(states.view())};
}

PerfSection DecodePerformance(const PluginExports& exports, const std::string& data,
                              const PerfQuery& query) {
  CText texts[kPerfEntries];
  CText labels[kPerfEntries];
  if (!exports.getPerformanceData(0, query.period, query.history, CText(data), texts, labels,
                                  CText())) {
    Rejected(StatusText::Performance, data);
  }
  PerfSection section{query.title, query.period, query.history != 0, {}};
  for (int half : {0, kPerfHalfEntries}) {
    for (int r = 0; r < kPerfHalfEntries; ++r) {
      const int entry = half + r;
      if (labels[entry].empty()) continue;
      const std::string record = query.history ? "#" + std::to_string(r) : "current";
      section.rows.push_back({record, query.history ? r : -1, std::string(labels[entry].view()),
                              std::string(texts[entry].view())});
    }
  }
  return section;
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
    const std::string data = Fetch(context, StatusText::Performance);
    std::vector<PerfSection> sections;
    for (const PerfQuery& query : kPerfQueries) {
      sections.push_back(DecodePerformance(exports, data, query));
    }
    status.performance = std::move(sections);
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
