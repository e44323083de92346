// The host's commands. Each lives in a file of its own and has one entry
// in the table of commands.cpp.
#ifndef T740_HOST_COMMANDS_COMMAND_H
#define T740_HOST_COMMANDS_COMMAND_H

#include <string>
#include <string_view>
#include <vector>

#include "hosting/plugin/host_context.h"

namespace t740::host {

struct Command {
  const char* name;
  const char* summary;  // one line in the host's help
  const char* usage;    // the command's own --help
  // Returns the exit status; throws UsageError or HostError.
  int (*run)(HostContext& context, const std::vector<std::string>& arguments);
};

const Command& StatusCommand();
const Command& ConfigureCommand();
const Command& ShieldCommand();
const Command& ThresholdsCommand();

const std::vector<const Command*>& Commands();
const Command* FindCommand(std::string_view name);

}  // namespace t740::host

#endif
