// What t740-host prints, cut into lines and into its sections: a title line
// and the lines after it up to the next empty line.
#ifndef T740_TESTS_HOST_OUTPUT_SECTIONS_H
#define T740_TESTS_HOST_OUTPUT_SECTIONS_H

#include <string>
#include <vector>

namespace t740::test {

std::vector<std::string> Lines(const std::string& text);

// The section whose title line is the first that starts with `title`,
// title line included; empty when there is none.
std::vector<std::string> SectionWithTitle(const std::string& text, const std::string& title);
// The same without its title line.
std::vector<std::string> Section(const std::string& text, const std::string& title);

}  // namespace t740::test

#endif
