#include "host/windows/quiet_platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QLoggingCategory>
#include <QString>
#include <QtGlobal>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace t740::host {
namespace {

// Debug and info lines of the platform plug-ins; their warnings stay.
constexpr char kRules[] =
    "qt.qpa.*.debug=false\n"
    "qt.qpa.*.info=false\n";

// What Qt's platform window base class says for each call a platform (the
// offscreen one) leaves out; Qt gives these lines no category of their own.
constexpr std::string_view kUnsupportedCall = "This plugin does not support ";

std::atomic<QtMessageHandler> previousHandler{nullptr};

bool IsPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  const bool uncategorised = !context.category || std::string_view(context.category) == "default";
  return type == QtWarningMsg && uncategorised &&
         text.startsWith(QLatin1String(kUnsupportedCall.data(),
                                       static_cast<qsizetype>(kUnsupportedCall.size())));
}

void PassOnAllButPlatformNoise(QtMsgType type, const QMessageLogContext& context,
                               const QString& text) {
  if (IsPlatformNoise(type, context, text)) return;
  if (QtMessageHandler previous = previousHandler.load()) {
    previous(type, context, text);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
  }
}

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// Qt warns when XDG_RUNTIME_DIR is missing and falls back to a folder of
// its own in /tmp; the host names one for its user instead, kept between
// runs (a run that ends at its time limit removes nothing). A folder of that
// name that is not this user's alone is not used: Qt then says why.
void GiveRunTimeDirectory() {
  if (IsSet("XDG_RUNTIME_DIR")) return;
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::temp_directory_path(error) /
                                          ("t740-host-runtime-" + std::to_string(geteuid()));
  if (error) return;
  if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) return;
  struct stat status {};
  if (lstat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
      status.st_uid != geteuid() || (status.st_mode & 0777) != 0700) {
    return;
  }
  setenv("XDG_RUNTIME_DIR", directory.c_str(), 1);
}

}  // namespace

QuietPlatform::QuietPlatform() {
  GiveRunTimeDirectory();
  QLoggingCategory::setFilterRules(QString::fromLatin1(kRules));
  previousHandler = qInstallMessageHandler(PassOnAllButPlatformNoise);
}

QuietPlatform::~QuietPlatform() {
  qInstallMessageHandler(previousHandler.exchange(nullptr));
}

}  // namespace t740::host
