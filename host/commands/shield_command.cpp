// t740-host shield: the plug-in's alarm shielding dialog, and the mask the
// operator chose.
#include <cstdlib>
#include <filesystem>

#include "host/commands/command.h"
#include "host/commands/command_options.h"
#include "host/windows/window_pictures.h"
#include "host/windows/window_run.h"
#include "host/windows/window_session.h"
#include "hosting/errors/host_error.h"

namespace t740::host {
namespace {

int16_t MaskLength(const std::map<std::string, std::string>& options, const std::string& mask) {
  const auto given = options.find("--length");
  if (given == options.end()) return static_cast<int16_t>(mask.size());
  char* end = nullptr;
  const long length = std::strtol(given->second.c_str(), &end, 10);
  if (given->second.empty() || *end != '\0' || length < -32768 || length > 32767) {
    throw UsageError("--length needs a number from -32768 to 32767");
  }
  return static_cast<int16_t>(length);
}

std::string OptionOr(const std::map<std::string, std::string>& options, const char* name) {
  const auto found = options.find(name);
  return found == options.end() ? std::string() : found->second;
}

// Messages and unknown windows are pictured beside the dialog's picture.
std::string DirectoryOf(const std::string& picture) {
  if (picture.empty()) return std::string();
  const std::string directory = std::filesystem::path(picture).parent_path().string();
  return directory.empty() ? "." : directory;
}

int RunShield(HostContext& context, const std::vector<std::string>& arguments) {
  const auto options =
      ParseCommandOptions(arguments, {"--mask", "--length", "--levels", "--screenshot"});
  const std::string mask = OptionOr(options, "--mask");
  if (mask.size() > 32767) throw UsageError("--mask is longer than a host can pass");
  const int16_t length = MaskLength(options, mask);
  const std::string picture = OptionOr(options, "--screenshot");

  WindowSession session(!picture.empty());
  context.LimitTime(session.Offscreen());
  PluginSession& plugin = context.Plugin();
  WindowRun run(context, session.Offscreen(), DirectoryOf(picture));
  if (session.Offscreen()) VisitShielding(run.Driver(), picture, run.Pictures());
  CText result;
  int16_t resultLength = -1;
  const int32_t confirmed = plugin.Exports().getAlarmSheild(
      0, CText(mask), length, &result, &resultLength, CText(OptionOr(options, "--levels")));
  const int status = run.Finish(kExitOk);
  if (!confirmed) {
    context.Out() << "cancelled: no mask\n";
    return kExitFailure;
  }
  context.Out() << "mask (" << resultLength << "): " << result.c_str() << "\n";
  return status;
}

}  // namespace

const Command& ShieldCommand() {
  static const Command command = {
      "shield",
      "choose the shielded alarms in the plug-in's dialog and print the mask",
      "Usage: t740-host [options] shield [--mask BITS] [--length N] [--levels LIST]\n"
      "                                  [--screenshot FILE]\n"
      "\n"
      "Shows the alarm shielding dialog (GetAlarmSheild) with the current mask BITS\n"
      "(\"0\" and \"1\", one per alarm row; --length passes another stated length)\n"
      "and the alarm level list LIST (items \"key:level,\"), then prints the\n"
      "150-character mask the operator confirmed.\n"
      "\n"
      "Without a display, or with --screenshot, the dialog opens on Qt's offscreen\n"
      "platform and is confirmed as shown; --screenshot FILE writes its picture.\n"
      "\n"
      "Exit status: 0 confirmed, 1 cancelled or the plug-in failed, 2 bad arguments.\n",
      RunShield,
  };
  return command;
}

}  // namespace t740::host
