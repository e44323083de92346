// What t740-exporter's and t740-alerter's main functions share: the
// options parsed (a bad one is exit status 2 with a hint), --help and
// --version answered, then the program served with its log, an exception
// that escapes it logged and exit status 1; and the serving itself, until a
// signal stops it.
#ifndef T740_MONITORING_PROCESS_PROGRAM_MAIN_H
#define T740_MONITORING_PROCESS_PROGRAM_MAIN_H

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "hosting/errors/host_error.h"
#include "monitoring/log/logger.h"
#include "monitoring/process/process_signals.h"

namespace t740::monitoring {

struct Program {
  const char* name;
  const char* version;
};

// `Options` has help, version and logLevel; `parse` throws host::UsageError.
template <class Options, class Parse, class Help, class Serve>
int RunProgram(const Program& program, int argc, char** argv, Parse parse, Help help, Serve serve) {
  Options options;
  try {
    options = parse(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const host::UsageError& error) {
    std::cerr << program.name << ": " << error.what() << "\nTry '" << program.name << " --help'.\n";
    return host::kExitUsage;
  }
  if (options.help) {
    std::cout << help();
    return host::kExitOk;
  }
  if (options.version) {
    std::cout << program.name << " " << program.version << "\n";
    return host::kExitOk;
  }
  Logger log(std::cerr, options.logLevel);
  try {
    return serve(options, log);
  } catch (const std::exception& error) {
    log.Log(LogLevel::Error, "cannot serve", {{"err", error.what()}});
    return host::kExitFailure;
  }
}

// Serves until a stop signal, reloading on SIGHUP: the exit status, 1 when
// the listening socket failed instead. `Server` has Reload(trigger), Stop()
// and Serve().
template <class Server>
int ServeUntilStopped(const ProcessSignals& signals, Server& server, Logger& log) {
  const SignalWatch watch(
      signals, [&] { server.Reload("SIGHUP"); }, [&] { server.Stop(); });
  if (!server.Serve()) {
    log.Log(LogLevel::Error, "the listening socket failed; stopped");
    return host::kExitFailure;
  }
  log.Log(LogLevel::Info, "stopped");
  return host::kExitOk;
}

}  // namespace t740::monitoring

#endif
