// The host's command line: shared options anywhere, one command, and the
// command's own arguments after it.
#ifndef T740_HOST_COMMANDS_COMMAND_LINE_H
#define T740_HOST_COMMANDS_COMMAND_LINE_H

#include <string>
#include <vector>

#include "hosting/transport/host_options.h"

namespace t740::host {

struct CommandLine {
  HostOptions options;
  std::string command;                 // empty when none was given
  std::vector<std::string> arguments;  // after the command, shared options taken out
  bool help = false;
};

// Throws UsageError for an unknown option before the command, a missing or
// malformed option value.
CommandLine ParseCommandLine(const std::vector<std::string>& words);

// The options part of the host's help.
std::string OptionsHelp();

}  // namespace t740::host

#endif
