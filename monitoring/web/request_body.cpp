#include "monitoring/web/request_body.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace t740::monitoring {
namespace {

constexpr size_t kBlock = 4096;
constexpr char kContentLength[] = "Content-Length";
constexpr char kTransferEncoding[] = "Transfer-Encoding";

BodyOutcome Refused(int status, std::string reason) {
  return {status, std::move(reason)};
}

BodyOutcome TooLarge(const BodyBounds& bounds) {
  return Refused(413, "the body is over " + std::to_string(bounds.payload) + " bytes");
}

BodyOutcome FramingTooLarge(const BodyBounds& bounds) {
  return Refused(413,
                 "the body's chunk framing is over " + std::to_string(bounds.framing) + " bytes");
}

bool SameWord(const std::string& a, const char* b) {
  const std::string lower(b);
  return a.size() == lower.size() &&
         std::equal(a.begin(), a.end(), lower.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == y;
         });
}

// A decimal length of no more than 18 digits, or nothing.
std::optional<size_t> DecimalLength(const std::string& text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  size_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<size_t>(c - '0');
  }
  return value;
}

// Appends `size` bytes to `body`; false when the stream ends or fails first.
bool Take(httplib::Stream& stream, size_t size, std::string& body) {
  char block[kBlock];
  while (size > 0) {
    const ssize_t got = stream.read(block, std::min(size, sizeof block));
    if (got <= 0) return false;
    body.append(block, static_cast<size_t>(got));
    size -= static_cast<size_t>(got);
  }
  return true;
}

enum class LineRead { Read, Ended, OverBudget };

// One CRLF-ended line of the chunked framing, without its CRLF; its bytes
// count against `budget`.
LineRead ReadFramingLine(httplib::Stream& stream, size_t& budget, std::string& line) {
  line.clear();
  for (;;) {
    if (budget == 0) return LineRead::OverBudget;
    char byte;
    if (stream.read(&byte, 1) != 1) return LineRead::Ended;
    --budget;
    if (byte == '\n') {
      if (line.empty() || line.back() != '\r') return LineRead::Ended;
      line.pop_back();
      return LineRead::Read;
    }
    line += byte;
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The chunk size before any extension; nothing when it is no hex number
// or larger than `most`, which `tooLarge` then tells.
std::optional<size_t> ChunkSize(const std::string& line, size_t most, bool& tooLarge) {
  const size_t end = std::min(line.find(';'), line.size());
  if (end == 0) return std::nullopt;
  size_t size = 0;
  for (size_t i = 0; i < end; ++i) {
    const int digit = HexDigit(line[i]);
    if (digit < 0) return std::nullopt;
    size = size * 16 + static_cast<size_t>(digit);
    if (size > most) {
      tooLarge = true;
      return std::nullopt;
    }
  }
  return size;
}

BodyOutcome BrokenFraming() {
  return Refused(400, "the chunked body is not well framed");
}

BodyOutcome ReadTrailers(httplib::Stream& stream, size_t& framing, const BodyBounds& bounds) {
  std::string line;
  for (;;) {
    const LineRead read = ReadFramingLine(stream, framing, line);
    if (read == LineRead::OverBudget) return FramingTooLarge(bounds);
    if (read == LineRead::Ended) return BrokenFraming();
    if (line.empty()) return {};
  }
}

BodyOutcome ReadChunked(httplib::Stream& stream, const BodyBounds& bounds, std::string& body) {
  size_t payload = bounds.payload;
  size_t framing = bounds.framing;
  std::string line;
  for (;;) {
    const LineRead read = ReadFramingLine(stream, framing, line);
    if (read == LineRead::OverBudget) return FramingTooLarge(bounds);
    if (read == LineRead::Ended) return BrokenFraming();
    bool tooLarge = false;
    const std::optional<size_t> size = ChunkSize(line, payload, tooLarge);
    if (tooLarge) return TooLarge(bounds);
    if (!size) return BrokenFraming();
    if (*size == 0) return ReadTrailers(stream, framing, bounds);
    if (!Take(stream, *size, body)) return BrokenFraming();
    payload -= *size;
    const LineRead end = ReadFramingLine(stream, framing, line);
    if (end == LineRead::OverBudget) return FramingTooLarge(bounds);
    if (end == LineRead::Ended || !line.empty()) return BrokenFraming();
  }
}

BodyOutcome ReadSized(httplib::Stream& stream, const httplib::Request& request,
                      const BodyBounds& bounds, std::string& body) {
  const auto values = request.headers.equal_range(kContentLength);
  const std::string first = values.first->second;
  for (auto value = values.first; value != values.second; ++value) {
    if (value->second != first) return Refused(400, "Content-Length is given twice, differently");
  }
  const std::optional<size_t> length = DecimalLength(first);
  if (!length) return Refused(400, "Content-Length '" + first + "' is no length");
  if (*length > bounds.payload) return TooLarge(bounds);
  if (!Take(stream, *length, body)) {
    return Refused(400, "the body ended before its Content-Length");
  }
  return {};
}

}  // namespace

BodyOutcome ReadRequestBody(httplib::Stream& stream, const httplib::Request& request,
                            const BodyBounds& bounds, std::string& body) {
  body.clear();
  const bool chunked = request.has_header(kTransferEncoding);
  const bool sized = request.has_header(kContentLength);
  // Both at once is how requests are smuggled past a proxy.
  if (chunked && sized) return Refused(400, "Content-Length and Transfer-Encoding together");
  if (chunked) {
    if (request.get_header_value_count(kTransferEncoding) != 1 ||
        !SameWord(request.get_header_value(kTransferEncoding), "chunked")) {
      return Refused(501, "the only transfer coding served is chunked");
    }
    return ReadChunked(stream, bounds, body);
  }
  if (sized) return ReadSized(stream, request, bounds, body);
  return {};
}

}  // namespace t740::monitoring
