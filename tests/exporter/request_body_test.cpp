// A request's body read by its framing alone, within its bounds: what is
// left on the stream after it is the next request, and nothing else.
#include "monitoring/web/request_body.h"

#include <gtest/gtest.h>

#include <string>

namespace t740::monitoring {
namespace {

constexpr BodyBounds kBounds{64, 40};

// Bytes that arrive on a connection, read in whatever sizes are asked.
class Arrived : public httplib::Stream {
 public:
  explicit Arrived(std::string bytes) : bytes_(std::move(bytes)) {}
  std::string Left() const { return bytes_.substr(at_); }

  bool is_readable() const override { return true; }
  bool is_writable() const override { return true; }
  ssize_t read(char* bytes, size_t size) override {
    const size_t moved = bytes_.copy(bytes, size, at_);
    at_ += moved;
    return static_cast<ssize_t>(moved);
  }
  ssize_t write(const char*, size_t size) override { return static_cast<ssize_t>(size); }
  void get_remote_ip_and_port(std::string&, int&) const override {}
  void get_local_ip_and_port(std::string&, int&) const override {}
  socket_t socket() const override { return -1; }

 private:
  std::string bytes_;
  size_t at_ = 0;
};

httplib::Request RequestWith(const httplib::Headers& headers) {
  httplib::Request request;
  request.method = "GET";
  request.headers = headers;
  return request;
}

constexpr char kNext[] = "GET /metrics HTTP/1.1\r\n\r\n";

TEST(RequestBodyTest, EachFramingIsReadToItsEndAndNoFurther) {
  const struct {
    httplib::Headers headers;
    std::string body;
  } framings[] = {
      {{}, ""},
      {{{"Content-Length", "5"}}, "hello"},
      {{{"Content-Length", "5"}, {"content-length", "5"}}, "hello"},
      {{{"Transfer-Encoding", "Chunked"}}, "5;name=value\r\nhello\r\n0\r\nX-Trailer: 1\r\n\r\n"},
  };
  for (const auto& framing : framings) {
    Arrived stream(framing.body + kNext);
    std::string body;
    const BodyOutcome outcome =
        ReadRequestBody(stream, RequestWith(framing.headers), kBounds, body);
    EXPECT_EQ(outcome.status, 0) << framing.body << ": " << outcome.reason;
    EXPECT_EQ(stream.Left(), kNext) << framing.body;
    EXPECT_EQ(body, framing.body.empty() ? "" : "hello") << framing.body;
  }
}

TEST(RequestBodyTest, BodiesAndFramingOverTheirBoundsOrIllFramedAreRefused) {
  std::string oneByteChunks;
  for (int i = 0; i < 10; ++i) oneByteChunks += "1\r\nx\r\n";
  const struct {
    httplib::Headers headers;
    std::string body;
    int status;
  } refused[] = {
      {{{"Content-Length", "65"}}, std::string(65, 'x'), 413},
      {{{"Content-Length", "99999999999999999999"}}, "", 400},
      {{{"Content-Length", "5"}, {"Content-Length", "6"}}, "hello!", 400},
      {{{"Content-Length", "-1"}}, "", 400},
      {{{"Transfer-Encoding", "chunked"}}, "41\r\n" + std::string(65, 'x') + "\r\n0\r\n\r\n", 413},
      {{{"Transfer-Encoding", "chunked"}}, "1;" + std::string(40, 'e') + "\r\nx\r\n0\r\n\r\n", 413},
      {{{"Transfer-Encoding", "chunked"}}, oneByteChunks + "0\r\n\r\n", 413},
      {{{"Transfer-Encoding", "chunked"}}, "1\r\nx\r\n0\r\n" + std::string(40, 't'), 413},
      {{{"Transfer-Encoding", "chunked"}}, "5\nhello\n0\n\n", 400},
      {{{"Transfer-Encoding", "chunked"}}, "zz\r\n", 400},
      {{{"Transfer-Encoding", "chunked"}}, "2\r\nxyz\r\n0\r\n\r\n", 400},
      {{{"Transfer-Encoding", "chunked"}, {"Content-Length", "3"}}, "abc", 400},
      {{{"Transfer-Encoding", "gzip, chunked"}}, "0\r\n\r\n", 501},
  };
  for (const auto& request : refused) {
    Arrived stream(request.body + kNext);
    std::string body;
    EXPECT_EQ(ReadRequestBody(stream, RequestWith(request.headers), kBounds, body).status,
              request.status)
        << request.body.substr(0, 24);
  }
}

}  // namespace
}  // namespace t740::monitoring
