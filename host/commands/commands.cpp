#include "host/commands/command.h"

namespace t740::host {

const std::vector<const Command*>& Commands() {
  static const std::vector<const Command*> commands = {
      &StatusCommand(),
      &ConfigureCommand(),
      &ShieldCommand(),
      &ThresholdsCommand(),
  };
  return commands;
}

const Command* FindCommand(std::string_view name) {
  for (const Command* command : Commands()) {
    if (name == command->name) return command;
  }
  return nullptr;
}

}  // namespace t740::host
