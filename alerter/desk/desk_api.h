// The alarm desk's JSON API under /api/, on the alerter's web server with
// its TLS and basic authentication: the session, the summary, the alarms
// and their acknowledgements, the long poll of changes, the log and each
// card's own view. Every POST carries the session's token.
#ifndef T740_ALERTER_DESK_DESK_API_H
#define T740_ALERTER_DESK_DESK_API_H

#include <string>
#include <vector>

#include "alerter/cards/card_directory.h"
#include "alerter/desk/alarm_desk.h"
#include "alerter/history/alarm_log.h"
#include "alerter/watch/card_watch.h"
#include "monitoring/web/web_server.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace t740::alerter {

struct DeskApiParts {
  AlarmDesk& desk;
  CardWatch& watch;
  CardDirectory& cards;
  AlarmLog* alarmLog;  // none: /api/log answers 503
  std::string version;
};

class DeskApi {
 public:
  explicit DeskApi(DeskApiParts parts);

  // They answer through this object, which must outlive the server.
  std::vector<monitoring::WebRoute> Routes();

 private:
  void Session(const httplib::Request& request, httplib::Response& response);
  void Summary(const httplib::Request& request, httplib::Response& response);
  void Alarms(const httplib::Request& request, httplib::Response& response);
  void Events(const httplib::Request& request, httplib::Response& response);
  void Log(const httplib::Request& request, httplib::Response& response);
  void Card(const httplib::Request& request, httplib::Response& response);
  void Acknowledge(const httplib::Request& request, httplib::Response& response);
  void Withdraw(const httplib::Request& request, httplib::Response& response);

  DeskApiParts parts_;
  const std::string token_;
};

}  // namespace t740::alerter

#endif
