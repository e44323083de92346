// t740-exporter end to end: the built exporter and plug-in against
// t740-sim's default card, each a process on 127.0.0.1, asked over HTTP as
// Prometheus asks; its exposition checked by promtool.
#include <gtest/gtest.h>
#include <httplib.h>

#include <crypt.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>

#include "child_process.h"
#include "exporter_process.h"

namespace t740::test {
namespace {

const char* const kPorts[] = {"A", "B", "C", "D"};
const char* const kAlarms[] = {"RS-TIM", "STM-LOS", "STM-LOF", "RS-OOF"};

httplib::Result Get(const ExporterProcess& exporter, const std::string& path,
                    const httplib::Headers& headers = {}) {
  httplib::Client client("127.0.0.1", exporter.Port());
  client.set_read_timeout(30, 0);
  return client.Get(path.c_str(), headers);
}

// The answer's body; empty when there was no answer.
std::string Body(const ExporterProcess& exporter, const std::string& path) {
  const auto answer = Get(exporter, path);
  return answer ? answer->body : "";
}

std::string Probe(const SimAgent& agent, const std::string& more = "") {
  return "/probe?target=" + agent.Address() + "&card=0107" + more;
}

ProgramRun PromtoolCheck(const std::string& exposition) {
  ScratchDirectory scratch;
  const std::string file = scratch.Path() + "/exposition";
  std::ofstream(file) << exposition;
  return RunProgram("/bin/sh", {"-c", std::string(T740_PROMTOOL) + " check metrics < " + file});
}

TEST(ExporterProbeTest, OneProbeShowsTheSimulatedCardsAlarmsAndCounters) {
  SimAgent agent;
  ExporterProcess exporter({});
  const auto answer = Get(exporter, Probe(agent));
  ASSERT_TRUE(answer);
  ASSERT_EQ(answer->status, 200) << answer->body;
  EXPECT_EQ(answer->get_header_value("Content-Type"), "text/plain; version=0.0.4; charset=utf-8");
  const std::string& body = answer->body;
  const ProgramRun lint = PromtoolCheck(body);
  EXPECT_EQ(lint.exitStatus, 0) << lint.out << lint.err;
  EXPECT_EQ(lint.out + lint.err, "");
  EXPECT_EQ(Sample(body, "t740_up"), 1);
  // Port B's fibre is pulled; port C hears the wrong far end's trace.
  for (const char* port : kPorts) {
    for (const char* alarm : kAlarms) {
      const bool present = (std::string(port) == "B" && std::string(alarm) == "STM-LOS") ||
                           (std::string(port) == "C" && std::string(alarm) == "RS-TIM");
      EXPECT_EQ(Sample(body, std::string("t740_alarm_active{port=\"") + port + "\",alarm=\"" +
                                 alarm + "\"}"),
                present ? 1 : 0)
          << port << " " << alarm;
    }
  }
  // Without signal a whole quarter is unavailable, and nothing is counted.
  const std::string latestBd =
      "{period=\"15m\",record=\"latest_completed\",ports=\"B/D\",layer=\"regenerator_section\"}";
  EXPECT_EQ(Sample(body, "t740_unavailable_seconds" + latestBd), 900);
  EXPECT_EQ(Sample(body, "t740_errored_blocks" + latestBd), 0);
  EXPECT_GE(Sample(body,
                   "t740_pointer_justifications{period=\"24h\",record=\"current\","
                   "ports=\"A/C\",layer=\"higher_order_path\",direction=\"negative\"}"),
            0);
  EXPECT_EQ(Sample(body, "t740_performance_decode_errors"), 0);
  EXPECT_EQ(body.find("led"), std::string::npos);

  const auto own = Get(exporter, "/metrics");
  ASSERT_TRUE(own);
  const ProgramRun ownLint = PromtoolCheck(own->body);
  EXPECT_EQ(ownLint.exitStatus, 0) << ownLint.out << ownLint.err;
  EXPECT_EQ(Sample(own->body, "t740_exporter_probes_total{outcome=\"success\"}"), 1);
  EXPECT_EQ(Sample(own->body, "t740_exporter_snmp_requests_total"), 1);
  EXPECT_NE(own->body.find("t740_exporter_build_info{version=\"1.0.0\",plugin=\""),
            std::string::npos);
  const auto home = Get(exporter, "/");
  ASSERT_TRUE(home);
  EXPECT_NE(home->body.find("href=\"metrics\""), std::string::npos);
}

TEST(ExporterProbeTest, BadProbesAreRefusedWithAReasonAndTheExporterServesOn) {
  SimAgent agent;
  ExporterProcess exporter({"--allow-target", "127.0.0.0/8"});
  const std::pair<std::string, int> bad[] = {
      {"/probe?card=0107", 400},
      {"/probe?target=" + agent.Address() + "&card=7", 400},
      {Probe(agent, "&auth=nobody"), 400},
      {"/probe?target=10.1.2.3&card=0107", 403},
  };
  for (const auto& [path, status] : bad) {
    const auto answer = Get(exporter, path);
    ASSERT_TRUE(answer) << path;
    EXPECT_EQ(answer->status, status) << path;
    EXPECT_EQ(std::count(answer->body.begin(), answer->body.end(), '\n'), 1) << answer->body;
  }
  const auto good = Get(exporter, Probe(agent));
  ASSERT_TRUE(good);
  EXPECT_EQ(Sample(good->body, "t740_up"), 1);
  const std::string own = Body(exporter, "/metrics");
  EXPECT_EQ(Sample(own, "t740_exporter_probes_total{outcome=\"bad_request\"}"), 3);
  EXPECT_EQ(Sample(own, "t740_exporter_probes_total{outcome=\"forbidden\"}"), 1);
}

// The later probes ride the session the first one opened, its engine
// discovered and its keys made.
TEST(ExporterProbeTest, ProbesOverSnmpV3AuthPriv) {
  const ConfigFile config(
      "auths:\n  v3:\n    version: 3\n    username: noc\n    security_level: authPriv\n"
      "    auth_protocol: SHA-256\n    password_file: auth.pass\n    priv_protocol: AES\n"
      "    priv_password_file: priv.pass\n");
  config.Beside("auth.pass", "noc-auth-pass\n");
  config.Beside("priv.pass", "noc-priv-pass\n");
  SimAgent agent(
      {"--no-v2c", "--v3-users",
       config.Beside("users", "noc authPriv SHA-256 noc-auth-pass AES noc-priv-pass\n")});
  ExporterProcess exporter({"--config.file", config.Path()});
  for (int probe = 0; probe < 3; ++probe) {
    const std::string body = Body(exporter, Probe(agent, "&auth=v3"));
    EXPECT_EQ(Sample(body, "t740_up"), 1) << body << exporter.Log();
    EXPECT_EQ(Sample(body, "t740_alarm_active{port=\"B\",alarm=\"STM-LOS\"}"), 1);
  }
  EXPECT_EQ(Sample(Body(exporter, "/metrics"), "t740_exporter_snmp_timeouts_total"), 0);
}

TEST(ExporterProbeTest, ASilentCardIsDownWithinTheScrapeTimeOut) {
  SimAgent agent;
  const ConfigFile config("timeout: 2s\nretries: 2\n");
  ExporterProcess exporter({"--config.file", config.Path()});
  ASSERT_EQ(agent.Stop(), 0);
  // Three tries of 2 s would outlast the scrape: the probe gets one.
  const auto start = std::chrono::steady_clock::now();
  const auto answer = Get(exporter, Probe(agent), {{"X-Prometheus-Scrape-Timeout-Seconds", "3"}});
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 200);
  EXPECT_EQ(Sample(answer->body, "t740_up"), 0);
  EXPECT_EQ(answer->body.find("t740_alarm_active"), std::string::npos);
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_TRUE(exporter.WaitForLog("msg=\"probe failed\"")) << exporter.Log();
  EXPECT_EQ(Sample(Body(exporter, "/metrics"), "t740_exporter_snmp_timeouts_total"), 1);
}

TEST(ExporterProbeTest, AFailedReloadKeepsTheOldConfiguration) {
  SimAgent agent;
  const ConfigFile config("auths:\n  ops:\n    community: public\n");
  ExporterProcess exporter({"--config.file", config.Path()});
  ASSERT_EQ(Sample(Body(exporter, Probe(agent, "&auth=ops")), "t740_up"), 1);

  config.Write("auths:\n  ops:\n    comunity: public\n");
  httplib::Client client("127.0.0.1", exporter.Port());
  const auto reload = client.Post("/-/reload");
  ASSERT_TRUE(reload);
  EXPECT_EQ(reload->status, 500);
  EXPECT_NE(reload->body.find(config.Path() + ":3: auths.ops: unknown key 'comunity'"),
            std::string::npos)
      << reload->body;
  EXPECT_NE(exporter.Log().find("the old one stays"), std::string::npos) << exporter.Log();
  EXPECT_EQ(Sample(Body(exporter, "/metrics"), "t740_exporter_config_last_reload_successful"), 0);
  EXPECT_EQ(Sample(Body(exporter, Probe(agent, "&auth=ops")), "t740_up"), 1);

  config.Write("auths:\n  night_shift:\n    community: public\n");
  exporter.Signal(SIGHUP);
  ASSERT_TRUE(exporter.WaitForLog("trigger=SIGHUP")) << exporter.Log();
  const auto unknown = Get(exporter, Probe(agent, "&auth=ops"));
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->status, 400);
  EXPECT_EQ(Sample(Body(exporter, Probe(agent, "&auth=night_shift")), "t740_up"), 1);
  EXPECT_EQ(exporter.Stop(), 0);
}

TEST(ExporterProbeTest, ABadConfigurationStopsTheStartWithItsFileAndLine) {
  const ConfigFile config("retries: 2\ntimeout: soon\n");
  const ProgramRun run =
      RunProgram(ExporterPath(), {"--plugin", PluginPath(), "--config.file", config.Path()});
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_NE(run.err.find(config.Path() + ":2: timeout"), std::string::npos) << run.err;
  const ProgramRun flag = RunProgram(ExporterPath(), {"--allow-target", "10.0.0.1/8"});
  EXPECT_EQ(flag.exitStatus, 2);
  EXPECT_NE(flag.err.find("--allow-target"), std::string::npos) << flag.err;
}

TEST(ExporterProbeTest, TlsAndBasicAuthenticationFromTheWebConfiguration) {
  ScratchDirectory scratch;
  char salt[CRYPT_GENSALT_OUTPUT_SIZE];
  ASSERT_TRUE(crypt_gensalt_rn("$2y$", 4, nullptr, 0, salt, sizeof salt));
  const std::string web =
      WriteTlsWebConfig(scratch.Path(), std::string("basic_auth_users:\n  prometheus: ") +
                                            crypt("scrape-me", salt) + "\n");
  ASSERT_NE(web, "");
  ExporterProcess exporter({"--web.config.file", web});
  ASSERT_NE(exporter.Port(), 0);
  EXPECT_NE(exporter.Log().find("tls=true"), std::string::npos);

  httplib::SSLClient client("127.0.0.1", exporter.Port());
  client.enable_server_certificate_verification(false);
  const auto anonymous = client.Get("/metrics");
  ASSERT_TRUE(anonymous);
  EXPECT_EQ(anonymous->status, 401);
  EXPECT_EQ(anonymous->get_header_value("WWW-Authenticate"), "Basic realm=\"t740-exporter\"");
  client.set_basic_auth("prometheus", "guess-again");
  const auto wrong = client.Get("/metrics");
  ASSERT_TRUE(wrong);
  EXPECT_EQ(wrong->status, 401);
  client.set_basic_auth("prometheus", "scrape-me");
  const auto allowed = client.Get("/metrics");
  ASSERT_TRUE(allowed);
  EXPECT_EQ(allowed->status, 200);
  EXPECT_NE(allowed->body.find("t740_exporter_probes_total"), std::string::npos);
  // Plain HTTP gets no answer from a TLS port.
  EXPECT_FALSE(Get(exporter, "/metrics"));
}

}  // namespace
}  // namespace t740::test
