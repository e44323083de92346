#include "alerter/alertmanager/fetch_alerts.h"

#include <stdexcept>

#include "alerter/alertmanager/http_client.h"

namespace t740::alerter {
namespace {

std::string AlertsQuery(const AlertmanagerUrl& url, const std::vector<std::string>& filters) {
  std::string path = url.prefix + "/api/v2/alerts?active=true&silenced=true&inhibited=true";
  for (const std::string& filter : filters) path += "&filter=" + EncodeQueryValue(filter);
  return path;
}

}  // namespace

std::vector<Alert> FetchAlerts(const AlertmanagerUrl& url, const std::vector<std::string>& filters,
                               std::chrono::milliseconds timeout) {
  const auto client = MakeClient(url, timeout);
  const auto result = client->Get(AlertsQuery(url, filters));
  if (!result) {
    throw std::runtime_error(url.Text() + ": " + httplib::to_string(result.error()));
  }
  if (result->status != 200) throw std::runtime_error(url.Text() + ": " + DescribeAnswer(*result));
  try {
    return ParseAlerts(result->body);
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(url.Text() + ": " + error.what());
  }
}

}  // namespace t740::alerter
