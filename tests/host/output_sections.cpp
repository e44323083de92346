#include "output_sections.h"

#include <sstream>

namespace t740::test {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> SectionWithTitle(const std::string& text, const std::string& title) {
  std::vector<std::string> section;
  bool inside = false;
  for (const std::string& line : Lines(text)) {
    if (line.rfind(title, 0) == 0) inside = true;
    if (inside && line.empty()) break;
    if (inside) section.push_back(line);
  }
  return section;
}

std::vector<std::string> Section(const std::string& text, const std::string& title) {
  std::vector<std::string> section = SectionWithTitle(text, title);
  if (!section.empty()) section.erase(section.begin());
  return section;
}

}  // namespace t740::test
