// Makes the card object's OpenConfiguration show the configuration window;
// the library does this when it loads.
#ifndef T740_WINDOWS_INSTALL_CONFIGURATION_WINDOW_H
#define T740_WINDOWS_INSTALL_CONFIGURATION_WINDOW_H

namespace t740 {

void InstallConfigurationWindow();

}  // namespace t740

#endif
