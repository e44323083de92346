#include "host/command_options.h"

#include <algorithm>

#include "host/host_error.h"

namespace t740::host {

std::map<std::string, std::string> ParseCommandOptions(const std::vector<std::string>& arguments,
                                                       const std::vector<std::string>& known) {
  std::map<std::string, std::string> options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    // "--name=value" as well as "--name value".
    const size_t equals =
        arguments[i].rfind("--", 0) == 0 ? arguments[i].find('=') : std::string::npos;
    const std::string word = arguments[i].substr(0, equals);
    if (std::find(known.begin(), known.end(), word) == known.end()) {
      throw UsageError(word.rfind("--", 0) == 0 ? "unknown option '" + word + "'"
                                                : "unexpected argument '" + word + "'");
    }
    if (equals == std::string::npos && i + 1 >= arguments.size()) {
      throw UsageError("option '" + word + "' needs a value");
    }
    const std::string value =
        equals == std::string::npos ? arguments[++i] : arguments[i].substr(equals + 1);
    if (!options.emplace(word, value).second) {
      throw UsageError("option '" + word + "' given twice");
    }
  }
  return options;
}

}  // namespace t740::host
