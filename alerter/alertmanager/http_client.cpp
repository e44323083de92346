#include "alerter/alertmanager/http_client.h"

#include <cctype>

namespace t740::alerter {
namespace {

constexpr std::size_t kReasonLength = 512;

}  // namespace

std::unique_ptr<httplib::Client> MakeClient(const AlertmanagerUrl& url,
                                            std::chrono::milliseconds timeout) {
  auto client = std::make_unique<httplib::Client>(url.Origin());
  client->set_connection_timeout(timeout);
  client->set_read_timeout(timeout);
  client->set_write_timeout(timeout);
  client->set_url_encode(false);
  return client;
}

std::string EncodeQueryValue(const std::string& value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0xF];
    }
  }
  return encoded;
}

std::string DescribeAnswer(const httplib::Response& response) {
  std::string reason = "HTTP " + std::to_string(response.status);
  std::string body = response.body.substr(0, kReasonLength);
  while (!body.empty() && std::isspace(static_cast<unsigned char>(body.back()))) body.pop_back();
  if (!body.empty()) reason += ": " + body;
  return reason;
}

}  // namespace t740::alerter
