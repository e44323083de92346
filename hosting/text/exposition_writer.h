// Prometheus's text exposition format (version 0.0.4), written as it goes
// into one text: each family's HELP and TYPE lines, then its samples. Label
// values are escaped; the caller keeps a family's samples together. The
// labels are views, so a sample costs no allocation beyond the text's own
// growth.
#ifndef T740_HOSTING_TEXT_EXPOSITION_WRITER_H
#define T740_HOSTING_TEXT_EXPOSITION_WRITER_H

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace t740::host {

struct Label {
  std::string_view name;
  std::string_view value;
};

class ExpositionWriter {
 public:
  static constexpr char kContentType[] = "text/plain; version=0.0.4; charset=utf-8";

  explicit ExpositionWriter(std::string& out) : out_(out) {}

  // type: "gauge", "counter" or "histogram".
  void Family(std::string_view name, std::string_view type, std::string_view help);
  void Sample(std::string_view name, std::initializer_list<Label> labels, double value) {
    Sample(name, labels.begin(), labels.size(), value);
  }
  void Sample(std::string_view name, const Label* labels, size_t count, double value);

 private:
  std::string& out_;
};

// A number as Prometheus reads it: integers without a fraction, others in
// the shortest form that reads back the same, "+Inf" for infinity.
std::string ExpositionNumber(double value);

}  // namespace t740::host

#endif
