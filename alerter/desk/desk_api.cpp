#include "alerter/desk/desk_api.h"

#include <httplib.h>

#include <cctype>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <variant>

#include "alerter/desk/desk_json.h"
#include "alerter/desk/session_token.h"
#include "alerter/json/json_value.h"

namespace t740::alerter {
namespace {

using monitoring::WebServer;
using Kind = JsonValue::Kind;

constexpr char kJson[] = "application/json; charset=utf-8";
// Waits before the answer's first byte, well inside the server's bound on
// an answer's time.
constexpr auto kLongPoll = std::chrono::seconds(8);
constexpr size_t kNameMaximum = 128;
constexpr size_t kCommentMaximum = 1024;
constexpr size_t kSeqDigits = 19;
constexpr int kCardLogEntries = 20;

// What an operator's POST asks.
struct OperatorAsk {
  std::string key;
  std::string name;
  std::string comment;
};

void AnswerJson(httplib::Response& response, const std::string& json) {
  response.set_header("Cache-Control", "no-store");
  response.set_content(json, kJson);
}

std::string Parameter(const httplib::Request& request, const char* name) {
  return request.has_param(name) ? request.get_param_value(name) : "";
}

bool AllDigits(const std::string& text) {
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return !text.empty();
}

std::string OptionalText(const JsonValue& body, const char* name) {
  const JsonValue* member = body.OptionalMember(name, Kind::kString);
  return member ? member->text : "";
}

// The ask of the body, or why it is none.
std::variant<OperatorAsk, std::string> ParseAsk(const std::string& text) {
  try {
    const JsonValue body = ParseJson(text);
    OperatorAsk ask{body.Member("key", Kind::kString).text, OptionalText(body, "name"),
                    OptionalText(body, "comment")};
    if (ask.name.size() > kNameMaximum) return std::string("the name is too long");
    if (ask.comment.size() > kCommentMaximum) return std::string("the comment is too long");
    return ask;
  } catch (const std::runtime_error& error) {
    return std::string("the body is not {\"key\": ...}: ") + error.what();
  }
}

// The basic-authentication user; without one, the name the operator gave.
std::string Operator(const OperatorAsk& ask) {
  const std::string user = WebServer::User();
  return user.empty() ? ask.name : user;
}

std::optional<CardTarget> FindCard(const CardDirectory& cards, const std::string& agent,
                                   const std::string& card) {
  for (const CardTarget& target : cards.All()) {
    if (target.instance == agent && target.probe.card == card) return target;
  }
  return std::nullopt;
}

void AnswerDesk(httplib::Response& response, const DeskAnswer& answer) {
  if (answer.status != 200) return WebServer::Refuse(response, answer.status, answer.reason);
  AnswerJson(response, SilenceIdJson(answer.silence));
}

}  // namespace

DeskApi::DeskApi(DeskApiParts parts) : parts_(std::move(parts)), token_(NewSessionToken()) {}

std::vector<monitoring::WebRoute> DeskApi::Routes() {
  using Handler = void (DeskApi::*)(const httplib::Request&, httplib::Response&);
  const struct {
    const char* method;
    const char* path;
    Handler handler;
  } kTable[] = {
      {"GET", "/api/session", &DeskApi::Session},
      {"GET", "/api/summary", &DeskApi::Summary},
      {"GET", "/api/alarms", &DeskApi::Alarms},
      {"GET", "/api/events", &DeskApi::Events},
      {"GET", "/api/log", &DeskApi::Log},
      {"GET", "/api/card", &DeskApi::Card},
      {"POST", "/api/alarms/ack", &DeskApi::Acknowledge},
      {"POST", "/api/alarms/unack", &DeskApi::Withdraw},
  };
  std::vector<monitoring::WebRoute> routes;
  for (const auto& row : kTable) {
    const Handler handler = row.handler;
    const bool post = std::string(row.method) == "POST";
    routes.push_back(
        {row.method, row.path,
         [this, handler, post](const httplib::Request& request, httplib::Response& response) {
           if (post && !TokenMatches(token_, request.get_header_value(kTokenHeader))) {
             return WebServer::Refuse(response, 403,
                                      "the session's token is missing or stale: "
                                      "ask GET /api/session again");
           }
           (this->*handler)(request, response);
         }});
  }
  return routes;
}

void DeskApi::Session(const httplib::Request&, httplib::Response& response) {
  AnswerJson(response, SessionJson(token_, WebServer::User(), parts_.version));
}

void DeskApi::Summary(const httplib::Request&, httplib::Response& response) {
  std::optional<AlarmLogHealth> log;
  if (parts_.alarmLog) log = parts_.alarmLog->Health();
  AnswerJson(response, SummaryJson(parts_.cards.All(), parts_.watch.Health(), log));
}

// The number first: a change between it and the list comes again in the
// events, never goes missing.
void DeskApi::Alarms(const httplib::Request&, httplib::Response& response) {
  const uint64_t seq = parts_.desk.Events().Seq();
  AnswerJson(response, AlarmsJson(seq, parts_.watch.Current(), parts_.desk.Acknowledged(),
                                  parts_.desk.ActiveSilences()));
}

void DeskApi::Events(const httplib::Request& request, httplib::Response& response) {
  const std::string after = Parameter(request, "after");
  if (!AllDigits(after) || after.size() > kSeqDigits) {
    return WebServer::Refuse(response, 400, "after must be an event's number");
  }
  const EventPage page = parts_.desk.Events().Await(
      std::stoull(after), std::chrono::steady_clock::now() + kLongPoll, WebServer::ClientGone);
  AnswerJson(response, EventsJson(page));
}

void DeskApi::Log(const httplib::Request& request, httplib::Response& response) {
  if (!parts_.alarmLog) return WebServer::Refuse(response, 503, "the alerter keeps no alarm log");
  const auto parsed = ParseLogQuery(request.params);
  if (const auto* reason = std::get_if<std::string>(&parsed)) {
    return WebServer::Refuse(response, 400, *reason);
  }
  const LogQuery& query = std::get<LogQuery>(parsed);
  const std::vector<LogEntry> entries = parts_.alarmLog->Query(query);
  std::optional<int64_t> next;
  if (!entries.empty() && entries.size() >= static_cast<size_t>(query.limit)) {
    next = entries.back().id;
  }
  AnswerJson(response, LogJson(entries, next));
}

void DeskApi::Card(const httplib::Request& request, httplib::Response& response) {
  const std::string agent = Parameter(request, "agent");
  const std::string card = Parameter(request, "card");
  if (agent.empty() || !AllDigits(card) || card.size() < 2 || card.size() > 4) {
    return WebServer::Refuse(response, 400, "agent=ADDRESS:PORT and card=2 to 4 digits, please");
  }
  const auto target = FindCard(parts_.cards, agent, card);
  if (!target) return WebServer::Refuse(response, 404, "the targets name no such card");
  const monitoring::ProbeResult probe = parts_.watch.Inspect(*target);
  std::vector<LogEntry> log;
  if (parts_.alarmLog) {
    LogQuery query;
    query.card = card;
    query.instance = agent;
    query.limit = kCardLogEntries;
    log = parts_.alarmLog->Query(query);
  }
  AnswerJson(response, CardJson(*target, probe, log));
}

void DeskApi::Acknowledge(const httplib::Request&, httplib::Response& response) {
  const auto parsed = ParseAsk(WebServer::Body());
  if (const auto* reason = std::get_if<std::string>(&parsed)) {
    return WebServer::Refuse(response, 400, *reason);
  }
  const OperatorAsk& ask = std::get<OperatorAsk>(parsed);
  const std::string who = Operator(ask);
  if (who.empty()) return WebServer::Refuse(response, 400, "a name is needed to acknowledge");
  AnswerDesk(response, parts_.desk.Acknowledge(ask.key, who, ask.comment));
}

void DeskApi::Withdraw(const httplib::Request&, httplib::Response& response) {
  const auto parsed = ParseAsk(WebServer::Body());
  if (const auto* reason = std::get_if<std::string>(&parsed)) {
    return WebServer::Refuse(response, 400, *reason);
  }
  const OperatorAsk& ask = std::get<OperatorAsk>(parsed);
  AnswerDesk(response, parts_.desk.Withdraw(ask.key, Operator(ask)));
}

}  // namespace t740::alerter
