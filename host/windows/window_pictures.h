// What the host does with the plug-in's windows when nobody is at the
// screen: it takes their pictures (when asked) and closes them as an
// operator would, without changing anything on the card.
#ifndef T740_HOST_WINDOWS_WINDOW_PICTURES_H
#define T740_HOST_WINDOWS_WINDOW_PICTURES_H

#include <ostream>
#include <string>
#include <vector>

#include "host/windows/modal_driver.h"

namespace t740::host {

// Pictures written so far, in order.
using PictureList = std::vector<std::string>;

// The progress dialog while it polls, then each tab of the configuration
// window; Exit closes it. An empty directory takes no pictures.
void VisitConfiguration(ModalDriver& driver, const std::string& directory, PictureList& pictures);
// The shielding dialog, closed with OK.
void VisitShielding(ModalDriver& driver, const std::string& picture, PictureList& pictures);
// The threshold window with each port's page; Exit closes it.
void VisitThresholds(ModalDriver& driver, const std::string& directory, PictureList& pictures);

// Creates the directory (and its parents); throws HostError.
void MakePictureDirectory(const std::string& directory);
void PrintPictures(std::ostream& out, const PictureList& pictures);

}  // namespace t740::host

#endif
