#ifndef T740_ALERTER_ALERTMANAGER_HTTP_CLIENT_H
#define T740_ALERTER_ALERTMANAGER_HTTP_CLIENT_H

#include <chrono>
#include <memory>
#include <string>

#include <httplib.h>

#include "alerter/alertmanager/alertmanager_url.h"

namespace t740::alerter {

// A client for one Alertmanager whose connect, write and read each end
// after `timeout`. Paths are sent as given: their queries are encoded here.
std::unique_ptr<httplib::Client> MakeClient(const AlertmanagerUrl& url,
                                            std::chrono::milliseconds timeout);

// Percent-encodes all but RFC 3986's unreserved characters.
std::string EncodeQueryValue(const std::string& value);

// "HTTP 400: <body>", the body cut to a line's length, for the log.
std::string DescribeAnswer(const httplib::Response& response);

}  // namespace t740::alerter

#endif
