// t740-alerter: wires the options, the configuration, the plug-in, the
// notification receiver, the cards' watch, the notifier and the HTTP server
// together, and runs until stopped.
#include <atomic>
#include <memory>

#include "alerter/alertmanager/notifier.h"
#include "alerter/cards/card_directory.h"
#include "alerter/desk/alarm_desk.h"
#include "alerter/desk/desk_api.h"
#include "alerter/history/alarm_log.h"
#include "alerter/metrics/alerter_metrics.h"
#include "alerter/notifications/notification_receiver.h"
#include "alerter/options/alerter_options.h"
#include "alerter/watch/card_watch.h"
#include "alerter/web/alerter_server.h"
#include "hosting/errors/host_error.h"
#include "hosting/plugin/plugin_library.h"
#include "hosting/text/hex_octets.h"
#include "hosting/transport/snmp_library.h"
#include "monitoring/config/config_holder.h"
#include "monitoring/config/program_configs.h"
#include "monitoring/process/process_signals.h"
#include "monitoring/process/program_main.h"
#include "monitoring/web/web_server.h"

namespace {

using namespace t740::alerter;
using namespace t740::monitoring;
using t740::host::kExitUsage;

constexpr char kProgram[] = "t740-alerter";
constexpr int kProbesAtOnce = 16;

// Who may send notifications, from the configuration as it was at start.
ReceiverSettings ReceiverOf(const AlerterOptions& options, const AccessConfig& config) {
  ReceiverSettings settings;
  settings.listen = options.snmpListen.host + ":" + std::to_string(options.snmpListen.port);
  settings.communities.insert(config.notifications.communities.begin(),
                              config.notifications.communities.end());
  for (const std::string& name : config.notifications.users) {
    settings.users.push_back(*config.auths.at(name).user);
  }
  // The configuration has checked the hex.
  settings.engineId = t740::host::OctetsOfHex(config.notifications.engineId).value_or("");
  return settings;
}

// Without its log the alerter still posts every change; the metrics count
// what it could not keep.
std::unique_ptr<AlarmLog> OpenAlarmLog(const AlerterOptions& options, Logger& log) {
  try {
    return AlarmLog::Open(options.storagePath, options.retention);
  } catch (const AlarmLogError& error) {
    log.Log(LogLevel::Error, "the alarm log cannot be opened; changes are posted but not kept",
            {{"path", options.storagePath}, {"err", error.what()}});
    return nullptr;
  }
}

AlarmLogHealth HealthOf(const AlarmLog* alarmLog, uint64_t unkept) {
  if (alarmLog) return alarmLog->Health();
  return {false, "not open", 0, unkept};
}

int Serve(const AlerterOptions& options, Logger& log) {
  const ProcessSignals signals;
  std::optional<ProgramConfigs> configs =
      LoadProgramConfigs(options.configFile, options.webConfigFile, log);
  if (!configs) return kExitUsage;
  ConfigHolder& config = *configs->config;
  const WebConfig& web = configs->web;
  const t740::host::PluginLibrary plugin(t740::host::ResolveProgramPluginPath(options.pluginPath));
  t740::host::StartSnmpLibrary();
  AlerterMetrics metrics(T740_VERSION);
  SessionPool sessions(
      SessionPoolAgents(RaiseOpenFilesLimit(), kConnectionsMaximum, kProbesAtOnce));
  CardDirectory cards(options.targetsFiles, [&](const std::string& file, const std::string& why) {
    log.Log(LogLevel::Error, "cannot take the cards of a targets file",
            {{"file", file}, {"err", why}});
  });
  cards.Refresh();
  DeliveryOptions delivery;
  delivery.onFailure = [&](const std::string& url, const std::string& reason) {
    log.Log(LogLevel::Warn, "posting to Alertmanager failed",
            {{"alertmanager", url}, {"err", reason}});
  };
  Notifier notifier(options.alertmanagers, delivery);
  const std::unique_ptr<AlarmLog> alarmLog = OpenAlarmLog(options, log);
  std::atomic<uint64_t> unkept{0};
  AlarmDesk desk({options.alertmanagers, alarmLog.get(), log});
  CardWatch watch({plugin.Exports(), config, options.allowTargets, sessions, cards, notifier,
                   metrics, log, alarmLog.get(),
                   [&](const std::vector<LogEntry>& changes) {
                     desk.Changed(changes);
                     if (!alarmLog) unkept += changes.size();
                   }},
                  {options.round, kProbesAtOnce, {}});
  watch.Reconcile(options.alertmanagers);
  desk.Start({[&] { return watch.Current(); }, [&] { return watch.Ready(); }});
  NotificationReceiver receiver(ReceiverOf(options, *config.Current()),
                                [&](const AlarmCue& cue) { watch.Cue(cue); });
  DeskApi api({desk, watch, cards, alarmLog.get(), T740_VERSION});
  std::unique_ptr<AlerterServer> server;
  try {
    server =
        std::make_unique<AlerterServer>(ServerParts{config, metrics, log,
                                                    [&] {
                                                      AlerterState state;
                                                      state.notifications = receiver.Counts();
                                                      state.alertmanagers = notifier.Counts();
                                                      state.alertsFiring = watch.Firing();
                                                      state.cards = cards.Size();
                                                      state.probesWaiting = watch.Waiting();
                                                      state.probesAsked = watch.Asked();
                                                      state.log = HealthOf(alarmLog.get(), unkept);
                                                      return state;
                                                    },
                                                    [&] { return watch.Ready(); }, api.Routes()},
                                        web);
  } catch (const ConfigError& error) {
    log.Log(LogLevel::Error, "bad web configuration", {{"err", error.what()}});
    return kExitUsage;
  }
  const int port = server->Bind(options.listen);
  watch.Start();
  log.Announce("listening",
               {{"address", options.listen.host + ":" + std::to_string(port)},
                {"snmp", options.snmpListen.host + ":" + std::to_string(receiver.Port())},
                {"engine_id", "0x" + t740::host::HexOfOctets(receiver.EngineId())},
                {"cards", std::to_string(cards.Size())},
                {"tls", web.tls ? "true" : "false"},
                {"alarm_log", alarmLog ? alarmLog->Path() : "none"},
                {"version", T740_VERSION}});
  return ServeUntilStopped(signals, *server, log);
}

}  // namespace

int main(int argc, char** argv) {
  return t740::monitoring::RunProgram<AlerterOptions>({kProgram, T740_VERSION}, argc, argv,
                                                      ParseAlerterOptions, AlerterHelp, Serve);
}
