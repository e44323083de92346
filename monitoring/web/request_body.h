// A request's body as its framing gives it: Content-Length, chunked, or
// neither (then a request has no body, whatever its method). It is read
// whole within its bounds before the request is answered, so that no byte
// of it can be taken for the next request on a kept-alive connection.
#ifndef T740_MONITORING_WEB_REQUEST_BODY_H
#define T740_MONITORING_WEB_REQUEST_BODY_H

#include <httplib.h>

#include <cstddef>
#include <string>

namespace t740::monitoring {

struct BodyBounds {
  size_t payload;  // the body's own bytes
  size_t framing;  // chunk-size lines, their extensions, CRLFs and trailers
};

struct BodyOutcome {
  int status = 0;      // 0 when the body was read; else the answer's status
  std::string reason;  // why, when refused
};

// Reads the body of `request` from `stream` into `body`. A refusal leaves
// the stream where it stopped: the connection must end after the answer.
BodyOutcome ReadRequestBody(httplib::Stream& stream, const httplib::Request& request,
                            const BodyBounds& bounds, std::string& body);

}  // namespace t740::monitoring

#endif
