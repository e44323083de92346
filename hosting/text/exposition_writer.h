// Prometheus's text exposition format (version 0.0.4), written as it goes:
// each family's HELP and TYPE lines, then its samples. Label values are
// escaped; the caller keeps a family's samples together.
#ifndef T740_HOSTING_TEXT_EXPOSITION_WRITER_H
#define T740_HOSTING_TEXT_EXPOSITION_WRITER_H

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace t740::host {

using Labels = std::vector<std::pair<std::string, std::string>>;

class ExpositionWriter {
 public:
  static constexpr char kContentType[] = "text/plain; version=0.0.4; charset=utf-8";

  explicit ExpositionWriter(std::ostream& out) : out_(out) {}

  // type: "gauge", "counter" or "histogram".
  void Family(std::string_view name, std::string_view type, std::string_view help);
  void Sample(std::string_view name, const Labels& labels, double value);

 private:
  std::ostream& out_;
};

// A number as Prometheus reads it: integers without a fraction, others in
// the shortest form that reads back the same, "+Inf" for infinity.
std::string ExpositionNumber(double value);

}  // namespace t740::host

#endif
