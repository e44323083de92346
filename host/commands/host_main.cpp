#include "host/commands/host_main.h"

#include "host/commands/command.h"
#include "host/commands/command_line.h"
#include "hosting/errors/host_error.h"

namespace t740::host {
namespace {

constexpr char kProgram[] = "t740-host";

std::string HostHelp() {
  std::string help =
      "Usage: t740-host [options] <command> [command options]\n"
      "\n"
      "A network-management host for the t740 SDH line card: loads the card's\n"
      "plug-in (libt740.so) and drives it against a card.\n"
      "\n"
      "Commands:\n";
  for (const Command* command : Commands()) {
    std::string name = std::string("  ") + command->name;
    name.resize(14, ' ');
    help += name + command->summary + "\n";
  }
  help += "\n" + OptionsHelp() +
          "\n"
          "Exit status: 0 success, 1 the plug-in or the card failed, 2 bad arguments.\n";
  return help;
}

int RunCommandLine(const CommandLine& line, std::ostream& out, std::ostream& err) {
  if (line.command.empty()) {
    if (line.help) {
      out << HostHelp();
      return kExitOk;
    }
    throw UsageError("no command given");
  }
  const Command* command = FindCommand(line.command);
  if (!command) throw UsageError("unknown command '" + line.command + "'");
  if (line.help) {
    out << command->usage << "\n" << OptionsHelp();
    return kExitOk;
  }
  HostContext context(line.options, MakeTransport(line.options), out, err);
  return command->run(context, line.arguments);
}

}  // namespace

int RunHost(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  try {
    return RunCommandLine(ParseCommandLine(words), out, err);
  } catch (const UsageError& error) {
    err << kProgram << ": " << error.what() << "\n"
        << "Try '" << kProgram << " --help'.\n";
    return kExitUsage;
  } catch (const std::exception& error) {
    err << kProgram << ": " << error.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace t740::host
