#ifndef T740_ALERTER_ALERTMANAGER_RFC3339_H
#define T740_ALERTER_ALERTMANAGER_RFC3339_H

#include <chrono>
#include <string>
#include <string_view>

namespace t740::alerter {

// "2024-05-01T12:00:00.250Z": UTC, milliseconds, as Alertmanager reads it.
std::string FormatRfc3339(std::chrono::system_clock::time_point time);

// Reads any RFC 3339 time (fraction of any length, Z or an offset). Go's
// zero time, which Alertmanager writes for an unset one, reads as the
// clock's epoch, the model's "unset". Throws std::runtime_error otherwise.
std::chrono::system_clock::time_point ParseRfc3339(std::string_view text);

}  // namespace t740::alerter

#endif
