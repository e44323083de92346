#include "hosting/text/exposition_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace t740::host {
namespace {

// Backslashes and line breaks escaped, and in label values also quotes.
std::string Escaped(std::string_view text, bool quotes) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || (quotes && c == '"')) {
      escaped += '\\';
      escaped += c;
    } else if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string ExpositionNumber(double value) {
  if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
  if (std::isnan(value)) return "NaN";
  char text[32];
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
  }
  for (int precision = 6; precision <= 17; ++precision) {
    std::snprintf(text, sizeof text, "%.*g", precision, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

void ExpositionWriter::Family(std::string_view name, std::string_view type, std::string_view help) {
  out_ << "# HELP " << name << ' ' << Escaped(help, false) << "\n# TYPE " << name << ' ' << type
       << '\n';
}

void ExpositionWriter::Sample(std::string_view name, const Labels& labels, double value) {
  out_ << name;
  if (!labels.empty()) {
    out_ << '{';
    for (size_t i = 0; i < labels.size(); ++i) {
      if (i > 0) out_ << ',';
      out_ << labels[i].first << "=\"" << Escaped(labels[i].second, true) << '"';
    }
    out_ << '}';
  }
  out_ << ' ' << ExpositionNumber(value) << '\n';
}

}  // namespace t740::host
