// Alertmanager's silences over its v2 API: listed, created or replaced,
// and expired. Each call throws std::runtime_error, naming the
// Alertmanager and what went wrong, when it is not done.
#ifndef T740_ALERTER_DESK_SILENCE_CLIENT_H
#define T740_ALERTER_DESK_SILENCE_CLIENT_H

#include <chrono>
#include <string>
#include <vector>

#include "alerter/alertmanager/alertmanager_url.h"
#include "alerter/desk/silence.h"

namespace t740::alerter {

// Short: an operator waits on each of these.
constexpr auto kSilenceTimeout = std::chrono::seconds(2);

std::vector<Silence> FetchSilences(const AlertmanagerUrl& url);
// The silence's id, which Alertmanager may change when it replaces one.
std::string PostSilence(const AlertmanagerUrl& url, const Silence& silence);
// A silence Alertmanager no longer knows counts as expired.
void ExpireSilence(const AlertmanagerUrl& url, const std::string& id);

}  // namespace t740::alerter

#endif
