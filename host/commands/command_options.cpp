#include "host/commands/command_options.h"

#include <algorithm>

#include "common/option_table.h"
#include "host/windows/window_pictures.h"
#include "hosting/errors/host_error.h"

namespace t740::host {

std::map<std::string, std::string> ParseCommandOptions(const std::vector<std::string>& arguments,
                                                       const std::vector<std::string>& known) {
  std::map<std::string, std::string> options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    // "--name=value" as well as "--name value".
    const OptionWord word = SplitOptionWord(arguments[i]);
    if (std::find(known.begin(), known.end(), word.name) == known.end()) {
      throw UsageError(word.name.rfind("--", 0) == 0 ? "unknown option '" + word.name + "'"
                                                     : "unexpected argument '" + word.name + "'");
    }
    const std::optional<std::string> value = TakeOptionValue(word, arguments, i);
    if (!value) throw UsageError("option '" + word.name + "' needs a value");
    if (!options.emplace(word.name, *value).second) {
      throw UsageError("option '" + word.name + "' given twice");
    }
  }
  return options;
}

std::string PictureDirectoryOption(const std::vector<std::string>& arguments) {
  const auto options = ParseCommandOptions(arguments, {"--screenshots"});
  const auto found = options.find("--screenshots");
  if (found == options.end()) return std::string();
  MakePictureDirectory(found->second);
  return found->second;
}

}  // namespace t740::host
