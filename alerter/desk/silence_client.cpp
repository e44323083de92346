#include "alerter/desk/silence_client.h"

#include <stdexcept>

#include "alerter/alertmanager/http_client.h"

namespace t740::alerter {
namespace {

constexpr int kNotFound = 404;

[[noreturn]] void Fail(const AlertmanagerUrl& url, const std::string& why) {
  throw std::runtime_error(url.Text() + ": " + why);
}

// The answer lives in `result`: the caller keeps it while reading.
const httplib::Response& Answered(const AlertmanagerUrl& url, const httplib::Result& result) {
  if (!result) Fail(url, httplib::to_string(result.error()));
  return *result;
}

}  // namespace

std::vector<Silence> FetchSilences(const AlertmanagerUrl& url) {
  const auto client = MakeClient(url, kSilenceTimeout);
  const httplib::Result result = client->Get(url.prefix + "/api/v2/silences");
  const httplib::Response& answer = Answered(url, result);
  if (answer.status != 200) Fail(url, DescribeAnswer(answer));
  try {
    return ParseSilences(answer.body);
  } catch (const std::runtime_error& error) {
    Fail(url, error.what());
  }
}

std::string PostSilence(const AlertmanagerUrl& url, const Silence& silence) {
  const auto client = MakeClient(url, kSilenceTimeout);
  const httplib::Result result =
      client->Post(url.prefix + "/api/v2/silences", SilenceJson(silence), "application/json");
  const httplib::Response& answer = Answered(url, result);
  if (answer.status != 200) Fail(url, DescribeAnswer(answer));
  try {
    return ParseSilenceId(answer.body);
  } catch (const std::runtime_error& error) {
    Fail(url, error.what());
  }
}

void ExpireSilence(const AlertmanagerUrl& url, const std::string& id) {
  const auto client = MakeClient(url, kSilenceTimeout);
  const httplib::Result result =
      client->Delete(url.prefix + "/api/v2/silence/" + EncodeQueryValue(id));
  const httplib::Response& answer = Answered(url, result);
  if (answer.status != 200 && answer.status != kNotFound) Fail(url, DescribeAnswer(answer));
}

}  // namespace t740::alerter
