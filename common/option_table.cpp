#include "common/option_table.h"

namespace t740 {

OptionWord SplitOptionWord(const std::string& word) {
  const size_t equals = word.rfind("--", 0) == 0 ? word.find('=') : std::string::npos;
  if (equals == std::string::npos) return {word, std::nullopt};
  return {word.substr(0, equals), word.substr(equals + 1)};
}

std::optional<std::string> TakeOptionValue(const OptionWord& word,
                                           const std::vector<std::string>& words, size_t& i) {
  if (word.value) return word.value;
  if (i + 1 >= words.size()) return std::nullopt;
  return words[++i];
}

std::string OptionHelp(const char* name, const char* metavar, const char* help) {
  constexpr char kIndent[] = "        ";
  std::string text =
      std::string("  ") + name + (metavar ? std::string(" ") + metavar : "") + "\n" + kIndent;
  for (const char* c = help; *c; ++c) {
    text += *c;
    if (*c == '\n') text += kIndent;
  }
  return text + "\n";
}

}  // namespace t740
