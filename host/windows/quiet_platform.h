// Keeps the host's error stream for what its user can act on. Qt's platform
// plug-ins report things only a platform developer can use: the offscreen
// platform's unsupported window calls (size hints, raise, grabs), and a
// missing run-time directory, which the host sets up itself. Everything
// else Qt says, warnings above all, still reaches the error stream, and
// QT_LOGGING_RULES still overrides the host's rules.
#ifndef T740_HOST_WINDOWS_QUIET_PLATFORM_H
#define T740_HOST_WINDOWS_QUIET_PLATFORM_H

namespace t740::host {

// Lives from before the QApplication until after it.
class QuietPlatform {
 public:
  QuietPlatform();
  ~QuietPlatform();
  QuietPlatform(const QuietPlatform&) = delete;
  QuietPlatform& operator=(const QuietPlatform&) = delete;
};

}  // namespace t740::host

#endif
