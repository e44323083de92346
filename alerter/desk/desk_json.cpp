#include "alerter/desk/desk_json.h"

#include <algorithm>
#include <sstream>

#include "alerter/alarms/alarm_rules.h"
#include "alerter/desk/json_object.h"
#include "hosting/status/status_json.h"

namespace t740::alerter {
namespace {

constexpr const char* kSeverities[] = {"critical", "warning"};
constexpr const char* kPorts[] = {"A", "B", "C", "D"};

struct Counts {
  int64_t cards = 0, answering = 0, silent = 0, alarmed = 0;
};

int SeverityRank(const std::string& severity) {
  const auto end = std::end(kSeverities);
  return static_cast<int>(std::find(std::begin(kSeverities), end, severity) -
                          std::begin(kSeverities));
}

bool Worse(const CurrentAlarm& a, const CurrentAlarm& b) {
  const int rankA = SeverityRank(a.severity), rankB = SeverityRank(b.severity);
  if (rankA != rankB) return rankA < rankB;
  if (a.since != b.since) return a.since < b.since;
  return a.key < b.key;
}

template <typename Each, typename Item>
void AppendArray(std::string& out, const std::vector<Item>& items, Each each) {
  out += '[';
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out += ',';
    each(out, items[i]);
  }
  out += ']';
}

void Count(Counts& counts, const CardHealth* health) {
  ++counts.cards;
  if (!health || !health->probed) return;
  ++(health->answering ? counts.answering : counts.silent);
  if (health->alarms > 0) ++counts.alarmed;
}

void AppendCounts(JsonObject& object, const Counts& counts) {
  object.Number("cards", counts.cards)
      .Number("answering", counts.answering)
      .Number("silent", counts.silent)
      .Number("alarmed", counts.alarmed);
}

void AppendLogHealth(std::string& out, const std::optional<AlarmLogHealth>& log) {
  JsonObject object(out);
  const AlarmLogHealth health = log.value_or(AlarmLogHealth{false, "the alarm log is off", 0, 0});
  object.Bool("writable", health.writable)
      .Number("kept", static_cast<int64_t>(health.kept))
      .Number("gap", static_cast<int64_t>(health.gap))
      .Text("error", health.lastError);
  object.Close();
}

void AppendAcknowledgement(std::string& out, const Acknowledgement* acknowledgement) {
  if (!acknowledgement) {
    out += "null";
    return;
  }
  JsonObject object(out);
  object.Text("who", acknowledgement->who)
      .Text("comment", acknowledgement->comment)
      .Time("at", acknowledgement->at)
      .Text("silence",
            acknowledgement->silences.empty() ? "" : acknowledgement->silences.front().id);
  object.Close();
}

void AppendSilence(std::string& out, const Silence& silence) {
  JsonObject object(out);
  object.Text("id", silence.id)
      .Text("createdBy", silence.createdBy)
      .Text("comment", silence.comment)
      .Time("endsAt", silence.endsAt);
  object.Close();
}

void AppendAlarm(std::string& out, const CurrentAlarm& alarm, const Acknowledgement* acknowledged,
                 const std::vector<Silence>& silences) {
  JsonObject object(out);
  object.Text("key", alarm.key)
      .Text("instance", alarm.instance)
      .Text("card", alarm.card)
      .Text("port", alarm.port)
      .Text("alarm", alarm.alarm)
      .Text("severity", alarm.severity)
      .Time("since", alarm.since);
  AppendAcknowledgement(object.Value("acknowledged"), acknowledged);
  const Labels labels =
      AlarmLabels(alarm.instance, alarm.card, alarm.port, alarm.alarm).value_or(Labels{});
  std::vector<Silence> matching;
  for (const Silence& silence : silences) {
    if (SilenceMatches(silence, labels)) matching.push_back(silence);
  }
  AppendArray(object.Value("silencedBy"), matching, AppendSilence);
  object.Close();
}

void AppendEvent(std::string& out, const DeskEvent& event) {
  JsonObject object(out);
  object.Number("seq", static_cast<int64_t>(event.seq));
  AppendLogEntry(object.Value("entry"), event.entry);
  object.Close();
}

void AppendPorts(std::string& out, const monitoring::ProbeResult& probe) {
  JsonObject object(out);
  for (const char* port : kPorts) {
    std::string& list = object.Value(port);
    list += '[';
    bool first = true;
    for (const host::AlarmRow& row : probe.status.alarms.value_or(std::vector<host::AlarmRow>{})) {
      if (!row.Present() || row.port != port) continue;
      if (!first) list += ',';
      first = false;
      JsonObject alarm(list);
      alarm.Text("alarm", row.name);
      const AlarmRule* rule = RuleForAlarm(row.name);
      rule ? alarm.Text("severity", rule->severity) : alarm.Null("severity");
      alarm.Close();
    }
    list += ']';
  }
  object.Close();
}

void AppendStatus(std::string& out, const CardTarget& card, const monitoring::ProbeResult& probe) {
  if (!probe.up) {
    out += "null";
    return;
  }
  std::ostringstream status;
  host::PrintStatusJson(status, {card.probe.address, card.probe.card, "SNMP", ""}, probe.status);
  out += status.str();
}

}  // namespace

void AppendLogEntry(std::string& out, const LogEntry& entry) {
  JsonObject object(out);
  object.Number("id", entry.id)
      .Text("kind", LogKindName(entry.kind))
      .Text("instance", entry.instance)
      .Text("card", entry.card)
      .Text("port", entry.port)
      .Text("alarm", entry.alarm)
      .Text("severity", entry.severity)
      .Time("cardTime", entry.cardTime)
      .Time("learnt", entry.learnt)
      .Text("road", LogRoadName(entry.road))
      .Text("who", entry.who)
      .Text("comment", entry.comment);
  object.Close();
}

std::string SessionJson(const std::string& token, const std::string& user,
                        const std::string& version) {
  std::string out;
  JsonObject(out).Text("token", token).Text("user", user).Text("version", version).Close();
  return out;
}

std::string SummaryJson(const std::vector<CardTarget>& cards, const std::vector<CardHealth>& health,
                        const std::optional<AlarmLogHealth>& log) {
  std::map<std::string, const CardHealth*> byCard;
  for (const CardHealth& one : health) byCard[one.instance + "/" + one.card] = &one;
  Counts all;
  std::map<std::string, Counts> agents;
  for (const CardTarget& card : cards) {
    const auto found = byCard.find(card.Key());
    const CardHealth* one = found == byCard.end() ? nullptr : found->second;
    Count(all, one);
    Count(agents[card.instance], one);
  }
  std::string out;
  JsonObject object(out);
  AppendCounts(object, all);
  std::string& list = object.Value("agents");
  list += '[';
  for (const auto& [instance, counts] : agents) {
    if (list.back() != '[') list += ',';
    JsonObject agent(list);
    agent.Text("instance", instance);
    AppendCounts(agent, counts);
    agent.Close();
  }
  list += ']';
  AppendLogHealth(object.Value("log"), log);
  object.Close();
  return out;
}

std::string AlarmsJson(uint64_t seq, std::vector<CurrentAlarm> alarms,
                       const std::map<std::string, Acknowledgement>& acknowledged,
                       const std::vector<Silence>& silences) {
  std::sort(alarms.begin(), alarms.end(), Worse);
  std::string out;
  JsonObject object(out);
  object.Number("seq", static_cast<int64_t>(seq));
  AppendArray(object.Value("alarms"), alarms, [&](std::string& list, const CurrentAlarm& alarm) {
    const auto held = acknowledged.find(alarm.key);
    AppendAlarm(list, alarm, held == acknowledged.end() ? nullptr : &held->second, silences);
  });
  object.Close();
  return out;
}

std::string EventsJson(const EventPage& page) {
  std::string out;
  JsonObject object(out);
  object.Number("seq", static_cast<int64_t>(page.seq));
  if (page.reset) {
    object.Bool("reset", true);
  } else {
    AppendArray(object.Value("events"), page.events, AppendEvent);
  }
  object.Close();
  return out;
}

std::string LogJson(const std::vector<LogEntry>& entries, std::optional<int64_t> next) {
  std::string out;
  JsonObject object(out);
  AppendArray(object.Value("entries"), entries, AppendLogEntry);
  next ? object.Number("next", *next) : object.Null("next");
  object.Close();
  return out;
}

std::string CardJson(const CardTarget& card, const monitoring::ProbeResult& probe,
                     const std::vector<LogEntry>& log) {
  std::string out;
  JsonObject object(out);
  object.Text("instance", card.instance).Text("card", card.probe.card).Bool("answering", probe.up);
  if (!probe.up) object.Text("reason", probe.reason);
  AppendPorts(object.Value("ports"), probe);
  AppendStatus(object.Value("status"), card, probe);
  AppendArray(object.Value("log"), log, AppendLogEntry);
  object.Close();
  return out;
}

std::string SilenceIdJson(const std::string& id) {
  std::string out;
  JsonObject(out).Text("silence", id).Close();
  return out;
}

}  // namespace t740::alerter
