// The plug-in's GBK texts in the terminal's encoding. Characters the
// terminal cannot show become "?".
#ifndef T740_HOST_TERMINAL_TEXT_H
#define T740_HOST_TERMINAL_TEXT_H

#include <iconv.h>

#include <string>
#include <string_view>

namespace t740::host {

class TerminalText {
 public:
  // Uses the encoding of the locale in force (set it from the
  // environment first).
  TerminalText();
  ~TerminalText();
  TerminalText(const TerminalText&) = delete;
  TerminalText& operator=(const TerminalText&) = delete;

  std::string FromGbk(std::string_view gbk) const;

 private:
  iconv_t converter_;
};

}  // namespace t740::host

#endif
