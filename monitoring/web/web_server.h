// A program's HTTP side on cpp-httplib through the guarded server: over TLS
// and behind basic authentication when the web configuration asks, with
// bounded time-outs, request sizes and threads. Every request's body is
// read by its framing (or the connection ended) before its route answers,
// whatever the method and whatever the answer, so that no byte of it is
// ever taken for a request.
#ifndef T740_MONITORING_WEB_WEB_SERVER_H
#define T740_MONITORING_WEB_WEB_SERVER_H

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "monitoring/config/web_config.h"
#include "monitoring/web/basic_auth.h"
#include "monitoring/web/listen_address.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace t740::monitoring {

class GuardedServer;
class TlsContext;

// The bounds on what a client may ask of the server.
constexpr int kConnectionsMaximum = 512;    // open at once; more are refused with 503
constexpr int kRequestSeconds = 5;          // for a whole request to arrive
constexpr int kAnswerSeconds = 10;          // for a whole answer to leave
constexpr int kKeepAliveSeconds = 5;        // an idle connection's life
constexpr int kKeepAliveRequests = 100;     // requests on one connection
constexpr size_t kHeadMaximum = 16384;      // request line and headers (the library: 8192 a line)
constexpr size_t kHeadersMaximum = 100;     // header lines the client sends
constexpr size_t kPayloadMaximum = 65536;   // a request body
constexpr size_t kBodyFramingBytes = 4096;  // chunk sizes and trailers beside it

using RouteAnswer = std::function<void(const httplib::Request&, httplib::Response&)>;

struct WebRoute {
  const char* method;  // GET routes answer HEAD too
  const char* path;
  RouteAnswer answer;
};

// What the server tells its program; each from any thread.
struct WebServerHooks {
  std::function<void()> refused;    // a connection refused for want of a place
  std::function<void(int)> opened;  // how many connections are open now
  // A route threw: the request is answered 500.
  std::function<void(const httplib::Request&, const std::string& why)> failed;
};

class WebServer {
 public:
  // `realm` names the program in basic authentication's challenge. Throws
  // ConfigError when the TLS certificate or key does not load.
  WebServer(const WebConfig& web, std::vector<WebRoute> routes, WebServerHooks hooks,
            const std::string& realm);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // The port bound; throws std::runtime_error, saying why, when the address
  // cannot be had.
  int Bind(const ListenAddress& address);
  // Serves until Stop(), at once when Stop() came first; false when the
  // listening socket failed instead.
  bool Serve();
  // Any thread, at any time after Bind().
  void Stop();

  // Answers `status` with a one-line plain-text reason.
  static void Refuse(httplib::Response& response, int status, const std::string& reason);
  // Whether the client of the request the calling thread answers has hung
  // up; never waits.
  static bool ClientGone();
  // The basic-authentication user of the request the calling thread
  // answers; empty when the server asks for none.
  static std::string User();
  // The body of the request the calling thread answers, read whole.
  static const std::string& Body();

 private:
  void Handle();
  void Answer(const httplib::Request& request, httplib::Response& response);
  void Dispatch(const httplib::Request& request, httplib::Response& response);
  void Failed(const httplib::Request& request, httplib::Response& response,
              std::exception_ptr error);

  const std::vector<WebRoute> routes_;
  const WebServerHooks hooks_;
  const std::string challenge_;
  std::optional<BasicAuth> auth_;
  std::unique_ptr<TlsContext> tls_;  // before the server, which uses it
  std::unique_ptr<GuardedServer> server_;
};

}  // namespace t740::monitoring

#endif
