// t740-host configure: the plug-in's configuration window for the card.
#include "host/commands/command.h"
#include "host/commands/command_options.h"
#include "host/windows/window_pictures.h"
#include "host/windows/window_run.h"
#include "host/windows/window_session.h"
#include "hosting/errors/host_error.h"

namespace t740::host {
namespace {

int RunConfigure(HostContext& context, const std::vector<std::string>& arguments) {
  const std::string directory = PictureDirectoryOption(arguments);

  WindowSession session(!directory.empty());
  context.LimitTime(session.Offscreen());
  PluginSession& plugin = context.Plugin();
  WindowRun run(context, session.Offscreen(), directory);
  ModalDriver& driver = run.Driver();
  PictureList& pictures = run.Pictures();
  if (session.Offscreen()) VisitConfiguration(driver, directory, pictures);
  plugin.Card().OpenConfiguration(nullptr, CText(context.Options().ip),
                                  CText(context.Options().cardAddress), plugin.DeviceRecord());

  if (session.Offscreen() && !directory.empty()) {
    VisitShielding(driver, directory + "/shield.png", pictures);
    CText mask;
    int16_t length = 0;
    plugin.Exports().getAlarmSheild(0, CText(), 0, &mask, &length, CText());
    if (auto open = plugin.Exports().openThresholds) {
      VisitThresholds(driver, directory, pictures);
      open(nullptr, CText(context.Options().ip), CText(context.Options().cardAddress));
    }
  }
  if (session.Offscreen() && directory.empty()) {
    context.Out() << "no display: the window was opened offscreen and closed\n";
  }
  return run.Finish(kExitOk);
}

}  // namespace

const Command& ConfigureCommand() {
  static const Command command = {
      "configure",
      "open the plug-in's configuration window for the card",
      "Usage: t740-host [options] configure [--screenshots DIR]\n"
      "\n"
      "Opens the card's configuration window as a host does (OpenConfiguration):\n"
      "the start-up poll, then the device information, loopback, section and path\n"
      "overhead and port user pages. Closing the window ends the command.\n"
      "\n"
      "Without a display, or with --screenshots, the window opens on Qt's offscreen\n"
      "platform, every tab is shown in turn and the window is closed again with\n"
      "nothing written. --screenshots DIR writes one PNG per tab into DIR, and one\n"
      "each of the progress dialog, the alarm shielding dialog and the threshold\n"
      "window. Every message the plug-in shows is printed on the error stream\n"
      "(\"t740-host: message: ...\"), pictured as message-1.png and so on, and\n"
      "answered with its default button; a window the host does not know is\n"
      "pictured (window-1.png), told and closed. At --time-limit the open windows\n"
      "are pictured (time-limit-1.png) and closed.\n"
      "\n"
      "Exit status: 0 every page loaded, 1 a page reported a failure, a request\n"
      "to the card failed, the time limit passed or the plug-in failed, 2 bad\n"
      "arguments.\n",
      RunConfigure,
  };
  return command;
}

}  // namespace t740::host
