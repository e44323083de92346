#include "monitoring/web/web_server.h"

#include <httplib.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

#include "monitoring/web/connection_pool.h"
#include "monitoring/web/guarded_server.h"
#include "monitoring/web/guarded_stream.h"
#include "monitoring/web/request_body.h"
#include "monitoring/web/tls_context.h"

namespace t740::monitoring {
namespace {

constexpr char kTextPlain[] = "text/plain; charset=utf-8";
constexpr char kBasicScheme[] = "Basic ";

thread_local std::string currentUser;
thread_local std::string currentBody;

// The user an Authorization header names, once it has been allowed.
std::string UserOf(const std::string& authorization) {
  const auto credentials = DecodeBase64(authorization.substr(sizeof kBasicScheme - 1));
  return credentials ? credentials->substr(0, credentials->find(':')) : "";
}

// The answer's last on its connection: what follows it on the wire is no
// request of this server's.
void EndConnection(GuardedStream& stream, httplib::Response& response) {
  stream.EndAfterAnswer();
  response.set_header("Connection", "close");
}

constexpr ConnectionBounds kBounds{
    {std::chrono::seconds(kRequestSeconds), std::chrono::seconds(kAnswerSeconds), kHeadMaximum,
     kPayloadMaximum + kBodyFramingBytes},
    std::chrono::seconds(kKeepAliveSeconds),
    kKeepAliveRequests};

constexpr BodyBounds kBodyBounds{kPayloadMaximum, kBodyFramingBytes};

std::string WhatFailed(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& caught) {
    return caught.what();
  } catch (...) {
  }
  return "unknown error";
}

}  // namespace

WebServer::WebServer(const WebConfig& web, std::vector<WebRoute> routes, WebServerHooks hooks,
                     const std::string& realm)
    : routes_(std::move(routes)),
      hooks_(std::move(hooks)),
      challenge_("Basic realm=\"" + realm + "\""),
      tls_(web.tls ? std::make_unique<TlsContext>(web.tls->certFile, web.tls->keyFile) : nullptr),
      server_(
          std::make_unique<GuardedServer>(kBounds, hooks_.refused, tls_ ? tls_->Get() : nullptr)) {
  if (!web.users.empty()) auth_.emplace(web.users);
  server_->new_task_queue = [this] {
    return new ConnectionPool(kConnectionsMaximum, hooks_.opened);
  };
  // The guarded server keeps its own deadlines; these two are what the
  // answers' Keep-Alive header announces.
  server_->set_keep_alive_timeout(kKeepAliveSeconds);
  server_->set_keep_alive_max_count(kKeepAliveRequests);
  // The answer leaves in two writes (head, then body): without this the
  // body waits for the client's delayed acknowledgement of the head, some
  // 40 ms on a kept-alive connection.
  server_->set_tcp_nodelay(true);
  Handle();
}

WebServer::~WebServer() = default;

void WebServer::Refuse(httplib::Response& response, int status, const std::string& reason) {
  response.status = status;
  response.set_content(reason + "\n", kTextPlain);
}

std::string WebServer::User() {
  return currentUser;
}

const std::string& WebServer::Body() {
  return currentBody;
}

bool WebServer::ClientGone() {
  const GuardedStream* stream = GuardedStream::Current();
  return stream && stream->ClientGone();
}

// Every request is answered before the library's own routing, which would
// read a body only for some methods and only for some answers.
void WebServer::Handle() {
  server_->set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        Answer(request, response);
        return httplib::Server::HandlerResponse::Handled;
      });
  server_->set_exception_handler(
      [this](const httplib::Request& request, httplib::Response& response,
             std::exception_ptr error) { Failed(request, response, error); });
  server_->set_error_handler([](const httplib::Request&, httplib::Response& response) {
    // A request the library refused itself (a request line over its bound,
    // a head it cannot parse) never reached Answer, its body unread.
    GuardedStream* stream = GuardedStream::Current();
    if (stream && !stream->Routed()) EndConnection(*stream, response);
    if (response.body.empty()) {
      Refuse(response, response.status,
             response.status == 404
                 ? "not found: see / for the endpoints"
                 : "the request was refused (HTTP " + std::to_string(response.status) + ")");
    }
  });
}

void WebServer::Answer(const httplib::Request& request, httplib::Response& response) {
  GuardedStream* stream = GuardedStream::Current();
  if (!stream) throw std::logic_error("a request served off its guarded stream");
  stream->HeadRead();
  if (stream->HeaderLines() > kHeadersMaximum) {
    EndConnection(*stream, response);
    return Refuse(response, 431, "more than " + std::to_string(kHeadersMaximum) + " header lines");
  }
  const BodyOutcome body = ReadRequestBody(*stream, request, kBodyBounds, currentBody);
  if (body.status != 0) {
    EndConnection(*stream, response);
    return Refuse(response, body.status, body.reason);
  }
  const std::string authorization = request.get_header_value("Authorization");
  if (auth_ && !auth_->Allows(authorization)) {
    response.set_header("WWW-Authenticate", challenge_);
    return Refuse(response, 401, "unauthorized");
  }
  currentUser = auth_ ? UserOf(authorization) : "";
  Dispatch(request, response);
}

void WebServer::Dispatch(const httplib::Request& request, httplib::Response& response) {
  // HEAD is a GET whose answer the library sends without its body.
  const std::string method = request.method == "HEAD" ? "GET" : request.method;
  std::string allowed;
  for (const WebRoute& route : routes_) {
    if (request.path != route.path) continue;
    if (method == route.method) return route.answer(request, response);
    allowed += (allowed.empty() ? "" : ", ") + std::string(route.method);
  }
  if (allowed.empty()) return Refuse(response, 404, "not found: see / for the endpoints");
  response.set_header("Allow", allowed);
  Refuse(response, 405, request.method + " is not served at " + request.path);
}

void WebServer::Failed(const httplib::Request& request, httplib::Response& response,
                       std::exception_ptr error) {
  if (hooks_.failed) hooks_.failed(request, WhatFailed(error));
  // Where the request failed, its body may be left unread.
  if (GuardedStream* stream = GuardedStream::Current()) EndConnection(*stream, response);
  Refuse(response, 500, "internal error");
}

int WebServer::Bind(const ListenAddress& address) {
  errno = 0;
  const int port = address.port == 0 ? server_->bind_to_any_port(address.host)
                   : server_->bind_to_port(address.host, address.port) ? address.port
                                                                       : -1;
  if (port <= 0) {
    const std::string why = errno != 0 ? std::strerror(errno) : "the address does not resolve";
    throw std::runtime_error("cannot listen on " + address.host + ":" +
                             std::to_string(address.port) + ": " + why);
  }
  server_->Deepen();
  return port;
}

bool WebServer::Serve() {
  return server_->Serve();
}

void WebServer::Stop() {
  server_->Halt();
}

}  // namespace t740::monitoring
