#include "alerter/web/alerter_server.h"

#include <httplib.h>

#include "hosting/text/exposition_writer.h"
#include "monitoring/config/config_reload.h"

namespace t740::alerter {
namespace {

using monitoring::LogLevel;
using monitoring::WebServer;

constexpr char kTextPlain[] = "text/plain; charset=utf-8";

constexpr char kHomePage[] =
    "<!DOCTYPE html>\n"
    "<html><head><title>t740 alerter</title></head><body>\n"
    "<h1>t740 alerter</h1>\n"
    "<p>Alarms of t740 SDH line cards in Alertmanager as the cards raise and clear\n"
    "them.</p>\n"
    "<ul>\n"
    "<li><a href=\"metrics\">metrics</a>: the alerter's own metrics</li>\n"
    "<li><a href=\"-/ready\">-/ready</a>: whether the first round of probes has run</li>\n"
    "</ul>\n"
    "</body></html>\n";

}  // namespace

AlerterServer::AlerterServer(ServerParts parts, const monitoring::WebConfig& web)
    : parts_(std::move(parts)), web_(web, Routes(), Hooks(), "t740-alerter") {}

std::vector<monitoring::WebRoute> AlerterServer::Routes() {
  return {
      {"GET", "/",
       [](const httplib::Request&, httplib::Response& response) {
         response.set_content(kHomePage, "text/html; charset=utf-8");
       }},
      {"GET", "/metrics",
       [this](const httplib::Request&, httplib::Response& response) {
         AlerterState state = parts_.state();
         state.lastReloadSuccessful = parts_.config.LastReloadSuccessful();
         state.lastReloadSuccessSeconds = parts_.config.LastSuccessSeconds();
         response.set_content(parts_.metrics.Exposition(state),
                              host::ExpositionWriter::kContentType);
       }},
      {"GET", "/-/healthy",
       [](const httplib::Request&, httplib::Response& response) {
         response.set_content("healthy\n", kTextPlain);
       }},
      {"GET", "/-/ready",
       [this](const httplib::Request&, httplib::Response& response) {
         if (parts_.ready()) return response.set_content("ready\n", kTextPlain);
         WebServer::Refuse(response, 503, "not ready: the first round of probes is running");
       }},
      {"POST", "/-/reload",
       [this](const httplib::Request&, httplib::Response& response) {
         if (const auto error = Reload("POST /-/reload")) {
           return WebServer::Refuse(response, 500, "the configuration was not reloaded: " + *error);
         }
         response.set_content("configuration reloaded\n", kTextPlain);
       }},
  };
}

monitoring::WebServerHooks AlerterServer::Hooks() {
  return {
      [this] { parts_.metrics.CountRefusedConnection(); },
      [this](int open) { parts_.metrics.SetOpenConnections(open); },
      [this](const httplib::Request& request, const std::string& why) {
        parts_.log.Log(LogLevel::Error, "request failed", {{"path", request.path}, {"err", why}});
      }};
}

std::optional<std::string> AlerterServer::Reload(const std::string& trigger) {
  return monitoring::ReloadConfig(parts_.config, parts_.log, trigger);
}

}  // namespace t740::alerter
