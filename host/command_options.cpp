#include "host/command_options.h"

#include <algorithm>

#include "host/host_error.h"

namespace t740::host {

std::map<std::string, std::string> ParseCommandOptions(const std::vector<std::string>& arguments,
                                                       const std::vector<std::string>& known) {
  std::map<std::string, std::string> options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (std::find(known.begin(), known.end(), word) == known.end()) {
      throw UsageError(word.rfind("--", 0) == 0 ? "unknown option '" + word + "'"
                                                : "unexpected argument '" + word + "'");
    }
    if (i + 1 >= arguments.size()) throw UsageError("option '" + word + "' needs a value");
    if (!options.emplace(word, arguments[++i]).second) {
      throw UsageError("option '" + word + "' given twice");
    }
  }
  return options;
}

}  // namespace t740::host
