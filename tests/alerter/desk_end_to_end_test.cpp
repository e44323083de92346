// The alarm desk's acknowledgement through t740-alerter's API, between
// t740-sim and Debian's prometheus-alertmanager, all children on
// 127.0.0.0/8: a pulled fibre's alarm acknowledged with the session's
// token becomes a silence of exactly its labels, under which Alertmanager
// suppresses the alert; without the token nothing happens; withdrawn, the
// silence expires.
#include <httplib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <optional>
#include <thread>

#include "alerter/alertmanager/fetch_alerts.h"
#include "alerter/json/json_value.h"
#include "alerter_process.h"
#include "alertmanager_process.h"
#include "child_process.h"
#include "hosting/text/json_text.h"

namespace t740::test {
namespace {

using alerter::JsonValue;
using Kind = JsonValue::Kind;
using Labels = std::map<std::string, std::string>;

constexpr auto kPatience = std::chrono::seconds(30);
constexpr auto kPollPause = std::chrono::milliseconds(100);
constexpr char kAgent[] = "127.0.0.2";
constexpr char kJson[] = "application/json";

// Waits up to kPatience for `found` to give something.
template <typename Find>
auto Await(Find found) -> decltype(found()) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    if (auto value = found()) return value;
    std::this_thread::sleep_for(kPollPause);
  }
  return found();
}

std::optional<JsonValue> GetJson(httplib::Client& client, const std::string& path) {
  const auto answer = client.Get(path);
  if (!answer || answer->status != 200) return std::nullopt;
  return alerter::ParseJson(answer->body);
}

int Post(httplib::Client& client, const std::string& path, const std::string& body,
         const std::string& token) {
  httplib::Headers headers;
  if (!token.empty()) headers.emplace("X-T740-Token", token);
  const auto answer = client.Post(path, headers, body, kJson);
  return answer ? answer->status : -1;
}

// The desk's alarm of port A's loss of signal, once it stands.
std::optional<JsonValue> LossOfSignalOnA(httplib::Client& desk) {
  const auto answer = GetJson(desk, "/api/alarms");
  if (!answer) return std::nullopt;
  for (const JsonValue& alarm : answer->Member("alarms", Kind::kArray).items) {
    if (alarm.Member("port", Kind::kString).text == "A" &&
        alarm.Member("alarm", Kind::kString).text == "STM-LOS") {
      return alarm;
    }
  }
  return std::nullopt;
}

// Alertmanager's silence of that id, as it lists it.
std::optional<JsonValue> SilenceListed(const AlertmanagerProcess& alertmanager,
                                       const std::string& id) {
  httplib::Client client("127.0.0.1", alertmanager.Port());
  const auto answer = client.Get("/api/v2/silences");
  if (!answer || answer->status != 200) return std::nullopt;
  for (const JsonValue& silence : alerter::ParseJson(answer->body).items) {
    if (silence.Member("id", Kind::kString).text == id) return silence;
  }
  return std::nullopt;
}

std::string StateOf(const JsonValue& silence) {
  return silence.Member("status", Kind::kObject).Member("state", Kind::kString).text;
}

std::vector<std::string> Filters(const Labels& labels) {
  std::vector<std::string> filters;
  for (const auto& [name, value] : labels) filters.push_back(name + "=\"" + value + "\"");
  return filters;
}

std::string WriteEvents(const ScratchDirectory& files) {
  const std::string path = files.Path() + "/events";
  std::ofstream(path) << "+200ms " << kAgent << " 0107 A fibre-pulled\n";
  return path;
}

TEST(DeskEndToEndTest, AnAcknowledgementIsASilenceOfTheAlarmsLabelsUntilWithdrawn) {
  ScratchDirectory files;
  const std::string targets = files.Path() + "/targets.json";
  AlertmanagerProcess alertmanager;
  ASSERT_TRUE(alertmanager.AwaitReady()) << alertmanager.Log();
  SimAgent sim({"--agents", kAgent, "--port", "0", "--targets-file", targets, "--events",
                WriteEvents(files)});
  AlerterProcess alerter({"--alertmanager.url", alertmanager.UrlText(), "--targets.file", targets,
                          "--round.interval", "1s"});
  httplib::Client desk("127.0.0.1", alerter.Port());
  const auto alarm = Await([&] { return LossOfSignalOnA(desk); });
  ASSERT_TRUE(alarm) << alerter.Log();
  const std::string key = alarm->Member("key", Kind::kString).text;
  const Labels labels = {{"alertname", "T740LossOfSignal"},
                         {"instance", std::string(kAgent) + ":" + std::to_string(sim.Port())},
                         {"card", "0107"},
                         {"port", "A"},
                         {"alarm", "STM-LOS"},
                         {"severity", "critical"}};
  std::string ack = "{\"key\":";
  host::AppendJsonString(ack, key);
  ack += ",\"name\":\"alice\",\"comment\":\"fibre crew sent\"}";

  EXPECT_EQ(Post(desk, "/api/alarms/ack", ack, ""), 403);
  EXPECT_EQ(Post(desk, "/api/alarms/ack", ack, "not-the-token"), 403);
  const auto session = GetJson(desk, "/api/session");
  ASSERT_TRUE(session);
  const std::string token = session->Member("token", Kind::kString).text;
  EXPECT_EQ(Post(desk, "/api/alarms/ack", "{\"key\":\"no such alarm\",\"name\":\"alice\"}", token),
            404);
  httplib::Headers headers = {{"X-T740-Token", token}};
  const auto acked = desk.Post("/api/alarms/ack", headers, ack, kJson);
  ASSERT_TRUE(acked && acked->status == 200) << (acked ? acked->body : "") << alerter.Log();
  const std::string id = alerter::ParseJson(acked->body).Member("silence", Kind::kString).text;

  const auto silence = SilenceListed(alertmanager, id);
  ASSERT_TRUE(silence) << alertmanager.Log();
  EXPECT_EQ(StateOf(*silence), "active");
  EXPECT_EQ(silence->Member("createdBy", Kind::kString).text, "alice");
  Labels matched;
  for (const JsonValue& matcher : silence->Member("matchers", Kind::kArray).items) {
    EXPECT_FALSE(matcher.Member("isRegex", Kind::kBool).boolean);
    EXPECT_TRUE(matcher.Member("isEqual", Kind::kBool).boolean);
    matched[matcher.Member("name", Kind::kString).text] =
        matcher.Member("value", Kind::kString).text;
  }
  EXPECT_EQ(matched, labels);
  const auto suppressed = Await([&]() -> std::optional<std::string> {
    const auto alerts = alerter::FetchAlerts(alertmanager.Url(), Filters(labels));
    if (alerts.size() == 1 && alerts.front().state == "suppressed") return alerts.front().state;
    return std::nullopt;
  });
  EXPECT_TRUE(suppressed) << alerter.Log();
  const auto shown = LossOfSignalOnA(desk);
  ASSERT_TRUE(shown);
  const JsonValue* by = shown->OptionalMember("acknowledged", Kind::kObject);
  ASSERT_NE(by, nullptr);
  EXPECT_EQ(by->Member("who", Kind::kString).text, "alice");
  EXPECT_EQ(by->Member("silence", Kind::kString).text, id);

  const std::string unack = ack.substr(0, ack.find(",\"name\"")) + "}";
  EXPECT_EQ(Post(desk, "/api/alarms/unack", unack, ""), 403);
  EXPECT_EQ(Post(desk, "/api/alarms/unack", unack, token), 200);
  const auto expired = SilenceListed(alertmanager, id);
  ASSERT_TRUE(expired);
  EXPECT_EQ(StateOf(*expired), "expired");
  EXPECT_EQ(Post(desk, "/api/alarms/unack", unack, token), 404);
}

}  // namespace
}  // namespace t740::test
