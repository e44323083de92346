// The plug-in's texts in the terminal's encoding: GBK from its exports,
// UTF-8 from its windows. Characters the terminal cannot show become "?".
#ifndef T740_HOSTING_TEXT_TERMINAL_TEXT_H
#define T740_HOSTING_TEXT_TERMINAL_TEXT_H

#include <iconv.h>

#include <string>
#include <string_view>

namespace t740::host {

class TerminalText {
 public:
  // Uses the encoding of the locale in force (set it from the
  // environment first).
  TerminalText();
  // Uses the encoding named, e.g. kUtf8.
  explicit TerminalText(const char* encoding);
  static constexpr char kUtf8[] = "UTF-8";
  ~TerminalText();
  TerminalText(const TerminalText&) = delete;
  TerminalText& operator=(const TerminalText&) = delete;

  std::string FromGbk(std::string_view gbk) const;
  std::string FromUtf8(std::string_view utf8) const;

 private:
  iconv_t converter_;
  iconv_t utf8Converter_;
};

}  // namespace t740::host

#endif
