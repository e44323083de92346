#include "http_connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace t740::bench {
namespace {

constexpr size_t kReadSize = 65536;

// The value of header `name` in `head`, empty when absent.
std::string Header(const std::string& head, const char* name) {
  const std::string wanted = std::string("\r\n") + name + ":";
  for (size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2)) {
    if (strncasecmp(head.c_str() + at, wanted.c_str(), wanted.size()) != 0) continue;
    size_t from = at + wanted.size();
    while (from < head.size() && head[from] == ' ') ++from;
    return head.substr(from, head.find("\r\n", from) - from);
  }
  return "";
}

}  // namespace

HttpConnection::~HttpConnection() {
  Close();
}

bool HttpConnection::Connect() {
  socket_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket_ < 0) return false;
  const int on = 1;
  setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port_);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    Close();
    return false;
  }
  return true;
}

void HttpConnection::Close() {
  if (socket_ >= 0) close(socket_);
  socket_ = -1;
  buffer_.clear();
  at_ = 0;
}

HttpAnswer HttpConnection::Get(const std::string& target) {
  const std::string request = "GET " + target +
                              " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) + "\r\n" +
                              headers_ + "\r\n";
  HttpAnswer answer;
  const bool kept = socket_ >= 0;
  if (Exchange(request, answer)) return answer;
  Close();
  if (kept && Exchange(request, answer)) return answer;
  Close();
  return HttpAnswer{};
}

bool HttpConnection::Exchange(const std::string& request, HttpAnswer& answer) {
  if (socket_ < 0 && !Connect()) return false;
  if (send(socket_, request.data(), request.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(request.size())) {
    return false;
  }
  std::string head;
  if (!ReadHead(head)) return false;
  // "HTTP/1.1 200 OK"
  const size_t space = head.find(' ');
  if (space == std::string::npos) return false;
  answer.status = std::atoi(head.c_str() + space + 1);
  answer.body.clear();
  const bool read =
      strcasecmp(Header(head, "Transfer-Encoding").c_str(), "chunked") == 0
          ? ReadChunked(answer.body)
          : ReadBody(std::strtoul(Header(head, "Content-Length").c_str(), nullptr, 10),
                     answer.body);
  if (!read) return false;
  if (strcasecmp(Header(head, "Connection").c_str(), "close") == 0) Close();
  return true;
}

bool HttpConnection::Fill() {
  if (at_ > 0) {
    buffer_.erase(0, at_);
    at_ = 0;
  }
  const size_t had = buffer_.size();
  buffer_.resize(had + kReadSize);
  const ssize_t got = recv(socket_, buffer_.data() + had, kReadSize, 0);
  buffer_.resize(had + (got > 0 ? static_cast<size_t>(got) : 0));
  return got > 0;
}

bool HttpConnection::ReadHead(std::string& head) {
  size_t end;
  while ((end = buffer_.find("\r\n\r\n", at_)) == std::string::npos) {
    if (!Fill()) return false;
  }
  head = buffer_.substr(at_, end + 2 - at_);
  at_ = end + 4;
  return true;
}

bool HttpConnection::ReadBody(size_t length, std::string& body) {
  while (buffer_.size() - at_ < length) {
    if (!Fill()) return false;
  }
  body.append(buffer_, at_, length);
  at_ += length;
  return true;
}

// Chunks of "SIZE\r\nDATA\r\n", ended by a chunk of size 0 and an empty
// line (no trailers).
bool HttpConnection::ReadChunked(std::string& body) {
  for (;;) {
    size_t line;
    while ((line = buffer_.find("\r\n", at_)) == std::string::npos) {
      if (!Fill()) return false;
    }
    const size_t size = std::strtoul(buffer_.c_str() + at_, nullptr, 16);
    at_ = line + 2;
    if (!ReadBody(size, body)) return false;
    std::string end;
    if (!ReadBody(2, end)) return false;
    if (size == 0) return true;
  }
}

}  // namespace t740::bench
