// t740-host status: the card's status texts, decoded by the plug-in.
#include <optional>
#include <string>
#include <vector>

#include "host/command.h"
#include "host/host_error.h"
#include "host/status_report.h"
#include "host/waiting_for.h"

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
  PerfSection section{query.title, {}};
  for (int half : {0, kPerfHalfEntries}) {
    for (int r = 0; r < kPerfHalfEntries; ++r) {
      const int entry = half + r;
      if (labels[entry].empty()) continue;
      const std::string record = query.history ? "#" + std::to_string(r) : "current";
      section.rows.push_back(
          {record, std::string(labels[entry].view()), std::string(texts[entry].view())});
    }
  }
  return section;
}

// Runs one part of the report; a failing part is told on the error stream
// and the others still run.
template <typename Part>
bool Report(HostContext& context, Part part) {
  try {
    part();
    return true;
  } catch (const HostError& error) {
    context.Err() << "t740-host: " << error.what() << "\n";
    return false;
  }
}

int RunStatus(HostContext& context, const std::vector<std::string>& arguments) {
  if (!arguments.empty()) throw UsageError("status: unexpected argument '" + arguments[0] + "'");
  context.LimitTime(true);
  const PluginSession& plugin = context.Plugin();
  const PluginExports& exports = plugin.Exports();
  std::ostream& out = context.Out();
  out << "t740 card " << context.Options().cardAddress << " at " << context.Options().ip << " ("
      << context.CardTransport().Description() << "), plug-in " << plugin.Library().Path()
      << "\n\n";

  bool complete = Report(context, [&] {
    const std::vector<AlarmRow> alarms = DecodeAlarms(exports, Fetch(context, StatusText::Alarm));
    PrintAlarms(out, context.Terminal(), alarms);
    out << "\n";
  });
  complete &= Report(context, [&] {
    const LedRow leds = DecodeLeds(exports, Fetch(context, StatusText::Led));
    PrintLeds(out, leds);
    out << "\n";
  });
  complete &= Report(context, [&] {
    const std::string data = Fetch(context, StatusText::Performance);
    std::vector<PerfSection> sections;
    for (const PerfQuery& query : kPerfQueries) {
      sections.push_back(DecodePerformance(exports, data, query));
    }
    for (const PerfSection& section : sections) {
      PrintPerformance(out, context.Terminal(), section);
      out << "\n";
    }
    PrintPerformanceLegend(out);
  });
  return complete ? kExitOk : kExitFailure;
}

}  // namespace

const Command& StatusCommand() {
  static const Command command = {
      "status",
      "show the card's alarms, LED states and performance records",
      "Usage: t740-host [options] status\n"
      "\n"
      "Fetches the card's alarm status, LED status and performance data and prints\n"
      "them as the plug-in decodes them: the sixteen alarms with their levels\n"
      "(0 present, 5 clear), the LED state codes, and the current and history\n"
      "records of the 15-minute and 24-hour periods.\n"
      "\n"
      "Exit status: 0 all decoded, 1 the card gave no status or the plug-in\n"
      "rejected one (the rest is still shown), 2 bad arguments.\n",
      RunStatus,
  };
  return command;
}

}  // namespace t740::host
