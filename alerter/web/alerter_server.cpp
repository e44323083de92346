#include "alerter/web/alerter_server.h"

#include <httplib.h>

#include "alerter/desk/assets/desk_assets.h"
#include "hosting/text/exposition_writer.h"
#include "monitoring/config/config_reload.h"

namespace t740::alerter {
namespace {

using monitoring::LogLevel;
using monitoring::WebServer;

constexpr char kTextPlain[] = "text/plain; charset=utf-8";

// The desk's files: the page's markup is built by its script alone, and
// the policy lets nothing run or load but the alerter's own files, so that
// markup a card or an operator slipped past the escaping could not act.
void ServeDeskAsset(const DeskAsset& asset, httplib::Response& response) {
  response.set_header("Cache-Control", "no-cache");
  response.set_header("X-Content-Type-Options", "nosniff");
  response.set_header("Content-Security-Policy",
                      "default-src 'self'; base-uri 'none'; form-action 'self'; "
                      "frame-ancestors 'none'");
  response.set_header("Referrer-Policy", "no-referrer");
  response.set_content(reinterpret_cast<const char*>(asset.bytes), asset.size, asset.contentType);
}

}  // namespace

AlerterServer::AlerterServer(ServerParts parts, const monitoring::WebConfig& web)
    : parts_(std::move(parts)), web_(web, Routes(), Hooks(), "t740-alerter") {}

std::vector<monitoring::WebRoute> AlerterServer::Routes() {
  std::vector<monitoring::WebRoute> routes{
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
  for (const DeskAsset& asset : DeskAssets()) {
    routes.push_back(
        {"GET", asset.path, [&asset](const httplib::Request&, httplib::Response& response) {
           ServeDeskAsset(asset, response);
         }});
  }
  routes.insert(routes.end(), parts_.api.begin(), parts_.api.end());
  return routes;
}

monitoring::WebServerHooks AlerterServer::Hooks() {
  return {
      [this] { parts_.metrics.Connections().CountRefused(); },
      [this](int open) { parts_.metrics.Connections().SetOpen(open); },
      [this](const httplib::Request& request, const std::string& why) {
        parts_.log.Log(LogLevel::Error, "request failed", {{"path", request.path}, {"err", why}});
      }};
}

std::optional<std::string> AlerterServer::Reload(const std::string& trigger) {
  return monitoring::ReloadConfig(parts_.config, parts_.log, trigger);
}

}  // namespace t740::alerter
