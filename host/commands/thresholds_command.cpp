// t740-host thresholds: the plug-in's performance threshold window.
#include "host/commands/command.h"
#include "host/commands/command_options.h"
#include "host/windows/window_pictures.h"
#include "host/windows/window_run.h"
#include "host/windows/window_session.h"
#include "hosting/errors/host_error.h"

namespace t740::host {
namespace {

int RunThresholds(HostContext& context, const std::vector<std::string>& arguments) {
  const std::string directory = PictureDirectoryOption(arguments);

  WindowSession session(!directory.empty());
  context.LimitTime(session.Offscreen());
  PluginSession& plugin = context.Plugin();
  const auto open = plugin.Exports().openThresholds;
  if (!open) throw HostError("the plug-in " + plugin.Library().Path() + " has no threshold window");
  WindowRun run(context, session.Offscreen(), directory);
  if (session.Offscreen()) VisitThresholds(run.Driver(), directory, run.Pictures());
  const int32_t shown =
      open(nullptr, CText(context.Options().ip), CText(context.Options().cardAddress));
  const int status = run.Finish(kExitOk);
  if (!shown) throw HostError("the plug-in did not show the threshold window");
  return status;
}

}  // namespace

const Command& ThresholdsCommand() {
  static const Command command = {
      "thresholds",
      "open the plug-in's performance threshold window for the card",
      "Usage: t740-host [options] thresholds [--screenshots DIR]\n"
      "\n"
      "Opens the threshold window (OpenThresholds): the 15-minute and 24-hour\n"
      "thresholds of the card's two ports, read from the card, with Read, Set and\n"
      "the performance counter clear on each port's page.\n"
      "\n"
      "Without a display, or with --screenshots, the window opens on Qt's offscreen\n"
      "platform, each port's page is shown and the window is closed with nothing\n"
      "written; --screenshots DIR writes one PNG per page into DIR. Messages and\n"
      "unknown windows are told, pictured and answered as by configure.\n"
      "\n"
      "Exit status: 0 the window was shown and its pages loaded, 1 a page reported\n"
      "a failure, a request failed, the time limit passed or the plug-in failed,\n"
      "2 bad arguments.\n",
      RunThresholds,
  };
  return command;
}

}  // namespace t740::host
