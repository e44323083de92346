#include "host/windows/window_pictures.h"

#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <filesystem>
#include <system_error>

#include "hosting/errors/host_error.h"
#include "ids/config_window_ids.h"
#include "ids/progress_dialog_ids.h"
#include "ids/shield_dialog_ids.h"
#include "ids/threshold_container_ids.h"
#include "ids/threshold_window_ids.h"

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

std::string NameOf(int id) {
  return std::to_string(id);
}

void Press(QWidget* window, int id) {
  if (auto* button = window->findChild<QPushButton*>(QString::number(id))) button->click();
}

// Shows each tab of the window's tab control in turn, with a picture each.
void VisitTabs(QWidget* window, int tabControl, const std::string& directory,
               const std::string& prefix, const char* const* names, PictureList& pictures) {
  auto* tabs = window->findChild<QTabWidget*>(QString::number(tabControl));
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

void PrintPictures(std::ostream& out, const PictureList& pictures) {
  for (const std::string& picture : pictures) out << "wrote " << picture << "\n";
}

void VisitConfiguration(ModalDriver& driver, const std::string& directory, PictureList& pictures) {
  driver.On(NameOf(ids::progress_dialog::kTemplate), [directory, &pictures](QWidget* poll) {
    Picture(poll, directory.empty() ? "" : PathIn(directory, "poll-progress"), pictures);
  });
  driver.On(NameOf(ids::config_window::kTemplate), [directory, &pictures](QWidget* window) {
    VisitTabs(window, ids::config_window::kTabs, directory, "config-", kConfigurationTabs,
              pictures);
    Press(window, ids::config_window::kExit);
  });
}

void VisitShielding(ModalDriver& driver, const std::string& picture, PictureList& pictures) {
  driver.On(NameOf(ids::shield_dialog::kTemplate), [picture, &pictures](QWidget* dialog) {
    Picture(dialog, picture, pictures);
    Press(dialog, ids::shield_dialog::kOk);
  });
}

void VisitThresholds(ModalDriver& driver, const std::string& directory, PictureList& pictures) {
  static const char* const kPorts[] = {"first-port", "second-port"};
  driver.On(ids::threshold_window::kName, [directory, &pictures](QWidget* window) {
    VisitTabs(window, ids::threshold_container::kPortTabs, directory, "thresholds-", kPorts,
              pictures);
    Press(window, ids::threshold_window::kExit);
  });
}

}  // namespace t740::host
