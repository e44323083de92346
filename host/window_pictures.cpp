#include "host/window_pictures.h"

#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <filesystem>
#include <system_error>

#include "host/command_options.h"
#include "host/host_error.h"

namespace t740::host {
namespace {

const char* const kConfigurationTabs[] = {"device", "loopback", "section-overhead", "path-overhead",
                                          "port-users"};

std::string PathIn(const std::string& directory, const std::string& name) {
  return (std::filesystem::path(directory) / (name + ".png")).string();
}

void Picture(QWidget* window, const std::string& path, PictureList& pictures) {
  if (path.empty()) return;
  if (!SavePicture(window, path)) throw HostError("could not write " + path);
  pictures.push_back(path);
}

void Press(QWidget* window, const char* id) {
  if (auto* button = window->findChild<QPushButton*>(QString::fromLatin1(id))) button->click();
}

// Shows each tab of the window's tab control in turn, with a picture each.
void VisitTabs(QWidget* window, const char* tabControl, const std::string& directory,
               const std::string& prefix, const char* const* names, PictureList& pictures) {
  auto* tabs = window->findChild<QTabWidget*>(QString::fromLatin1(tabControl));
  if (!tabs) return;
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    const std::string name = names ? names[i] : std::to_string(i);
    Picture(window, directory.empty() ? "" : PathIn(directory, prefix + name), pictures);
  }
  tabs->setCurrentIndex(0);
}

}  // namespace

void MakePictureDirectory(const std::string& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) throw HostError("cannot create " + directory + ": " + error.message());
}

std::string PictureDirectoryOption(const std::vector<std::string>& arguments) {
  const auto options = ParseCommandOptions(arguments, {"--screenshots"});
  const auto found = options.find("--screenshots");
  if (found == options.end()) return std::string();
  MakePictureDirectory(found->second);
  return found->second;
}

void PrintPictures(std::ostream& out, const PictureList& pictures) {
  for (const std::string& picture : pictures) out << "wrote " << picture << "\n";
}

void VisitConfiguration(ModalDriver& driver, const std::string& directory, PictureList& pictures) {
  driver.On("1011", [directory, &pictures](QWidget* poll) {
    Picture(poll, directory.empty() ? "" : PathIn(directory, "poll-progress"), pictures);
  });
  driver.On("1000", [directory, &pictures](QWidget* window) {
    VisitTabs(window, "1006", directory, "config-", kConfigurationTabs, pictures);
    Press(window, "1010");
  });
}

void VisitShielding(ModalDriver& driver, const std::string& picture, PictureList& pictures) {
  driver.On("1022", [picture, &pictures](QWidget* dialog) {
    Picture(dialog, picture, pictures);
    Press(dialog, "1004");
  });
}

void VisitThresholds(ModalDriver& driver, const std::string& directory, PictureList& pictures) {
  static const char* const kPorts[] = {"first-port", "second-port"};
  driver.On("ThresholdWindow", [directory, &pictures](QWidget* window) {
    VisitTabs(window, "1075", directory, "thresholds-", kPorts, pictures);
    Press(window, "1010");
  });
}

}  // namespace t740::host
