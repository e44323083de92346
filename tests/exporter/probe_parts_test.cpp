// The probe's parts without a network: its query, the allow-list, the
// scrape time-out's budget, the session pool, the basic authentication, and
// the real plug-in decoding texts it rejects or whose counters are not all
// hex.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <crypt.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>

#include "exporter/metrics/probe_metrics.h"
#include "hosting/text/exposition_writer.h"
#include "hosting/transport/snmp_library.h"
#include "monitoring/probe/card_prober.h"
#include "monitoring/probe/probe_query.h"
#include "monitoring/probe/scrape_budget.h"
#include "monitoring/probe/session_pool.h"
#include "monitoring/probe/target_allow_list.h"
#include "monitoring/web/basic_auth.h"
#include "monitoring/web/probe_gate.h"

namespace t740::exporter {
namespace {

using Parameters = std::multimap<std::string, std::string>;

TEST(ProbeQueryTest, TakesATargetWithOrWithoutPortAndACardOfTwoToFourDigits) {
  const ProbeQuery query = ParseProbeQuery({{"target", "10.0.0.5:1161"}, {"card", "0107"}});
  ASSERT_TRUE(query.target) << query.error;
  EXPECT_EQ(query.target->ipv4, 0x0A000005u);
  EXPECT_EQ(query.target->port, 1161);
  const ProbeQuery plain = ParseProbeQuery({{"target", "10.0.0.5"}, {"card", "17"}, {"auth", "a"}});
  ASSERT_TRUE(plain.target) << plain.error;
  EXPECT_EQ(plain.target->port, 161);
  EXPECT_EQ(plain.target->auth, "a");
}

TEST(ProbeQueryTest, RefusesEachBadQueryWithAOneLineReason) {
  const std::pair<Parameters, const char*> bad[] = {
      {{{"card", "0107"}}, "target parameter is missing"},
      {{{"target", "10.0.0.5"}}, "card parameter is missing"},
      {{{"target", "card.example"}, {"card", "0107"}}, "is not an IPv4 address"},
      {{{"target", "10.0.0.256"}, {"card", "0107"}}, "is not an IPv4 address"},
      {{{"target", "10.0.0.5:0"}, {"card", "0107"}}, "no port from 1 to 65535"},
      {{{"target", "10.0.0.5:"}, {"card", "0107"}}, "no port from 1 to 65535"},
      {{{"target", "10.0.0.5"}, {"card", "7"}}, "2 to 4 digits"},
      {{{"target", "10.0.0.5"}, {"card", "01073"}}, "2 to 4 digits"},
      {{{"target", "10.0.0.5"}, {"card", "01a7"}}, "2 to 4 digits"},
      {{{"target", "10.0.0.5"}, {"target", "10.0.0.6"}, {"card", "0107"}}, "more than once"},
      {{{"target", "10.0.0.5"}, {"card", "0107"}, {"module", "x"}}, "unknown parameter"},
      {{{"target", "10.0.0.5\nX"}, {"card", "0107"}}, "'10.0.0.5?X' is not an IPv4"},
      {{{"target", "10.0.0.5"}, {"card", "0107"}, {"auth", "a\nb"}}, "is no auth name"},
  };
  for (const auto& [parameters, reason] : bad) {
    const ProbeQuery query = ParseProbeQuery(parameters);
    EXPECT_FALSE(query.target);
    EXPECT_NE(query.error.find(reason), std::string::npos) << query.error;
    EXPECT_EQ(query.error.find('\n'), std::string::npos);
  }
}

TEST(TargetAllowListTest, AllowsOnlyItsNetworksOnceOneIsGiven) {
  TargetAllowList list;
  EXPECT_TRUE(list.Allows(0x0A000001));
  list.Add(*ParseCidr("127.0.0.0/8"));
  list.Add(*ParseCidr("10.1.2.3"));
  EXPECT_TRUE(list.Allows(0x7F000001));
  EXPECT_TRUE(list.Allows(0x0A010203));
  EXPECT_FALSE(list.Allows(0x0A010204));
  for (const char* bad : {"10.0.0.1/8", "10.0.0.0/33", "10.0.0.0/", "::1/128", "10/8"}) {
    EXPECT_FALSE(ParseCidr(bad)) << bad;
  }
}

TEST(ScrapeBudgetTest, TheScrapeTimeOutLessItsMarginBoundsTheTries) {
  EXPECT_EQ(ScrapeBudgetMilliseconds("10"), 9500);
  EXPECT_EQ(ScrapeBudgetMilliseconds("0.2"), kBudgetMinimumMilliseconds);
  EXPECT_FALSE(ScrapeBudgetMilliseconds(""));
  EXPECT_FALSE(ScrapeBudgetMilliseconds("ten"));
  EXPECT_FALSE(ScrapeBudgetMilliseconds("-1"));
  const SnmpTries configured{1000, 3};
  EXPECT_EQ(FitTries(configured, std::nullopt).retries, 3);
  EXPECT_EQ(FitTries(configured, 2500).retries, 1);  // two whole tries fit
  const SnmpTries one = FitTries(configured, 600);
  EXPECT_EQ(one.timeoutMilliseconds, 600);
  EXPECT_EQ(one.retries, 0);
}

// A probe waiting for a place gives it up when its scrape has ended or its
// client has gone, and takes the place once one is free.
TEST(ProbeGateTest, AWaitingProbeGivesUpForAnEndedScrapeOrAGoneClient) {
  using Clock = ProbeGate::Clock;
  ProbeGate gate(1);
  const auto never = [] { return false; };
  auto held = std::make_unique<ProbeGate::Pass>(gate, Clock::time_point::max(), never);
  ASSERT_TRUE(held->Held());
  EXPECT_FALSE(ProbeGate::Pass(gate, Clock::now() + std::chrono::milliseconds(50), never).Held());
  EXPECT_FALSE(ProbeGate::Pass(gate, Clock::time_point::max(), [] { return true; }).Held());
  held.reset();
  EXPECT_TRUE(ProbeGate::Pass(gate, Clock::now(), never).Held());
}

TEST(BasicAuthTest, ChecksTheBcryptHashOfTheUsersPassword) {
  char salt[CRYPT_GENSALT_OUTPUT_SIZE];
  ASSERT_TRUE(crypt_gensalt_rn("$2b$", 4, nullptr, 0, salt, sizeof salt));
  const std::string hash = crypt("right horse", salt);
  const BasicAuth auth({{"prometheus", hash}});
  EXPECT_TRUE(auth.Allows("Basic cHJvbWV0aGV1czpyaWdodCBob3JzZQ=="));   // prometheus:right horse
  EXPECT_FALSE(auth.Allows("Basic cHJvbWV0aGV1czp3cm9uZyBob3JzZQ=="));  // prometheus:wrong horse
  EXPECT_FALSE(auth.Allows("Basic b3RoZXI6cmlnaHQgaG9yc2U="));          // other:right horse
  EXPECT_FALSE(auth.Allows("Bearer cHJvbWV0aGV1czpyaWdodCBob3JzZQ=="));
  EXPECT_FALSE(auth.Allows("Basic cHJvbWV0aGV1czpyaWdodCBob3JzZQ="));
  EXPECT_EQ(DecodeBase64("YQ=="), "a");
  EXPECT_EQ(DecodeBase64("YWI="), "ab");
  EXPECT_FALSE(DecodeBase64("Y=Q="));
}

TEST(SessionPoolTest, OneSetPerAgentAndWayOfAskingTheLeastRecentlyProbedLetGo) {
  SessionPool pool(2);
  const host::SnmpPeer agent{"udp:127.0.0.1:1161", "public", std::nullopt};
  host::SnmpPeer otherCommunity = agent;
  otherCommunity.community = "private";
  host::SnmpPeer otherAgent = agent;
  otherAgent.name = "udp:127.0.0.2:1161";
  host::SnmpPeer user = agent;
  user.user = host::UsmUser{"noc",
                            host::SecurityLevel::AuthPriv,
                            host::AuthProtocol::Sha1,
                            host::PrivProtocol::Aes128,
                            "auth-pass",
                            "priv-pass"};
  host::SnmpPeer otherPass = user;
  otherPass.user->privPass = "other-pass";

  const auto first = pool.For(agent);
  EXPECT_EQ(pool.For(agent), first);
  const auto community = pool.For(otherCommunity);
  EXPECT_NE(community, first);
  EXPECT_NE(pool.For(user), pool.For(otherPass));
  EXPECT_EQ(pool.Agents(), 2u);
  EXPECT_NE(pool.For(agent), first);  // let go while the users came
  const auto again = pool.For(agent);
  pool.For(otherAgent);
  EXPECT_EQ(pool.For(agent), again);
  EXPECT_NE(pool.For(otherCommunity), community);
}

TEST(ExpositionWriterTest, EscapesLabelValuesAndWritesNumbersAsPrometheusReadsThem) {
  std::string text;
  host::ExpositionWriter out(text);
  out.Sample("t740_x", {{"plugin", "/opt/a \"b\"\\c\nd"}}, 0.1);
  EXPECT_EQ(text, "t740_x{plugin=\"/opt/a \\\"b\\\"\\\\c\\nd\"} 0.1\n");
  EXPECT_EQ(host::ExpositionNumber(65535), "65535");
  EXPECT_EQ(std::stod(host::ExpositionNumber(1.0 / 3)), 1.0 / 3);
  EXPECT_EQ(host::ExpositionNumber(0.25), "0.25");
}

class PluginDecodeTest : public testing::Test {
 protected:
  const host::PluginLibrary plugin_{T740_PLUGIN};
};

TEST_F(PluginDecodeTest, AStatusThePluginRejectsIsNotUpAndInventsNoZeros) {
  host::StatusTexts texts{std::string(61, '0'), std::string(148, '0'), ""};
  const ProbeResult result = DecodeStatusTexts(plugin_.Exports(), texts);
  EXPECT_FALSE(result.up);
  EXPECT_NE(result.reason.find("rejected the alarm status (61 characters)"), std::string::npos)
      << result.reason;
  const std::string exposition = ProbeExposition(result);
  EXPECT_NE(exposition.find("\nt740_up 0\n"), std::string::npos);
  EXPECT_EQ(exposition.find("t740_alarm_active"), std::string::npos);
  EXPECT_EQ(exposition.find("t740_errored_blocks"), std::string::npos);
}

// Performance data of five fields, each 900 characters of one digit after
// its head: one record of each period completed.
std::string PerformanceData(char counterDigit) {
  const char* const heads[] = {"0000000100", "0000", "0000", "0000", "0000000001"};
  std::string fields;
  for (const std::string head : heads)
    fields += head + std::string(900 - head.size(), counterDigit) + ",";
  return fields;
}

TEST_F(PluginDecodeTest, CountersThatAreNotHexAreLeftOutAndCounted) {
  const std::string alarm =
      "000000"
      "04" +
      std::string(54, '0');
  const ProbeResult hex = DecodeStatusTexts(plugin_.Exports(), {alarm, "", PerformanceData('1')});
  ASSERT_TRUE(hex.up) << hex.reason;
  const std::string good = ProbeExposition(hex);
  EXPECT_NE(good.find("t740_alarm_active{port=\"A\",alarm=\"STM-LOS\"} 1\n"), std::string::npos);
  EXPECT_NE(
      good.find("t740_errored_blocks{period=\"15m\",record=\"latest_completed\",ports=\"B/D\","
                "layer=\"regenerator_section\"} 4369\n"),
      std::string::npos);
  EXPECT_NE(good.find("\nt740_performance_decode_errors 0\n"), std::string::npos);

  const ProbeResult garbled =
      DecodeStatusTexts(plugin_.Exports(), {alarm, "", PerformanceData('x')});
  ASSERT_TRUE(garbled.up) << garbled.reason;
  const std::string bad = ProbeExposition(garbled);
  EXPECT_EQ(bad.find("t740_errored_blocks{"), std::string::npos);
  // 27 fields in each of the 8 records: current and latest of two periods,
  // two port pairs.
  EXPECT_NE(bad.find("\nt740_performance_decode_errors 216\n"), std::string::npos);
}

using ProbeCardTest = PluginDecodeTest;

// The scrape's time-out and the wait for a place change a probe's tries,
// not the conversation: its agent's sessions stay the ones it had.
TEST_F(ProbeCardTest, ProbesWithOtherTimeOutsShareTheirAgentsSessions) {
  host::StartSnmpLibrary();
  const int silent = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(silent, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  socklen_t length = sizeof address;
  getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length);
  const ProbeTarget target{"127.0.0.1", 0x7F000001, ntohs(address.sin_port), "0107", ""};
  Auth auth;
  auth.community = "public";
  SessionPool pool(4);
  for (const SnmpTries tries : {SnmpTries{50, 0}, SnmpTries{80, 1}}) {
    EXPECT_TRUE(ProbeCard(plugin_.Exports(), pool, target, auth, tries).snmpTimedOut);
  }
  EXPECT_EQ(pool.Agents(), 1u);
  close(silent);
  // The idle sessions of the agents kept, beside 512 connections and 16 probes, stay
  // within a limit of 1024 open files.
  EXPECT_LE(SessionPoolAgents(1024, 512, 16) * kIdleSessionsPerAgent + 512 + 16, 1024u);
}

}  // namespace
}  // namespace t740::exporter
