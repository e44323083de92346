// A kept-alive HTTP/1.1 connection to a server on 127.0.0.1, one GET at a
// time, as a scraper holds one: bodies by Content-Length or chunked, a new
// connection when the server closes the old one. Only what the exporter
// benchmark needs, and cheap, so that the client stays small beside the
// servers it measures.
#ifndef T740_BENCH_HTTP_CONNECTION_H
#define T740_BENCH_HTTP_CONNECTION_H

#include <cstdint>
#include <string>
#include <utility>

namespace t740::bench {

struct HttpAnswer {
  int status = 0;  // 0: no answer (the connection failed)
  std::string body;
};

class HttpConnection {
 public:
  // `headers`: lines ("Name: value\r\n") every request carries.
  explicit HttpConnection(uint16_t port, std::string headers = "")
      : port_(port), headers_(std::move(headers)) {}
  ~HttpConnection();
  HttpConnection(const HttpConnection&) = delete;
  HttpConnection& operator=(const HttpConnection&) = delete;

  // `target` is the request target, "/probe?...". A kept-alive connection
  // the server closed meanwhile is opened again and the request sent once
  // more.
  HttpAnswer Get(const std::string& target);

 private:
  bool Connect();
  void Close();
  bool Exchange(const std::string& request, HttpAnswer& answer);
  bool Fill();  // reads more into buffer_; false at the end or an error
  bool ReadHead(std::string& head);
  bool ReadBody(size_t length, std::string& body);
  bool ReadChunked(std::string& body);

  uint16_t port_;
  std::string headers_;
  int socket_ = -1;
  std::string buffer_;
  size_t at_ = 0;  // where buffer_'s unread bytes start
};

}  // namespace t740::bench

#endif
