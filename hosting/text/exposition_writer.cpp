#include "hosting/text/exposition_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace t740::host {
namespace {

// Backslashes and line breaks escaped, and in label values also quotes.
void AppendEscaped(std::string& out, std::string_view text, bool quotes) {
  // Most texts need no escape: appended whole.
  if (text.find_first_of(quotes ? std::string_view("\\\"\n") : std::string_view("\\\n")) ==
      std::string_view::npos) {
    out += text;
    return;
  }
  for (char c : text) {
    if (c == '\\' || (quotes && c == '"')) {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
}

void AppendNumber(std::string& out, double value) {
  // Counters and gauges of the card are whole numbers: written directly.
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(value));
    out.append(digits, end.ptr);
    return;
  }
  if (std::isinf(value)) {
    out += value > 0 ? "+Inf" : "-Inf";
    return;
  }
  if (std::isnan(value)) {
    out += "NaN";
    return;
  }
  char text[32];
  for (int precision = 6; precision <= 17; ++precision) {
    std::snprintf(text, sizeof text, "%.*g", precision, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  out += text;
}

}  // namespace

std::string ExpositionNumber(double value) {
  std::string text;
  AppendNumber(text, value);
  return text;
}

void ExpositionWriter::Family(std::string_view name, std::string_view type, std::string_view help) {
  out_ += "# HELP ";
  out_ += name;
  out_ += ' ';
  AppendEscaped(out_, help, false);
  out_ += "\n# TYPE ";
  out_ += name;
  out_ += ' ';
  out_ += type;
  out_ += '\n';
}

void ExpositionWriter::Sample(std::string_view name, const Label* labels, size_t count,
                              double value) {
  out_ += name;
  if (count > 0) {
    out_ += '{';
    for (size_t i = 0; i < count; ++i) {
      if (i > 0) out_ += ',';
      out_ += labels[i].name;
      out_ += "=\"";
      AppendEscaped(out_, labels[i].value, true);
      out_ += '"';
    }
    out_ += '}';
  }
  out_ += ' ';
  AppendNumber(out_, value);
  out_ += '\n';
}

}  // namespace t740::host
