// A command's own options: "--name value" pairs after the command's name.
#ifndef T740_HOST_COMMANDS_COMMAND_OPTIONS_H
#define T740_HOST_COMMANDS_COMMAND_OPTIONS_H

#include <map>
#include <string>
#include <vector>

namespace t740::host {

// Throws UsageError for an option that is not in `known`, one without its
// value, one given twice, or a stray word.
std::map<std::string, std::string> ParseCommandOptions(const std::vector<std::string>& arguments,
                                                       const std::vector<std::string>& known);

// The command's "--screenshots DIR", created; empty when not given.
std::string PictureDirectoryOption(const std::vector<std::string>& arguments);

}  // namespace t740::host

#endif
