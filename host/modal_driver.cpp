#include "host/modal_driver.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

namespace t740::host {

ModalDriver::ModalDriver() {
  connect(&timer_, &QTimer::timeout, this, &ModalDriver::Look);
  timer_.start(20);
}

void ModalDriver::On(const std::string& objectName, Action action) {
  actions_[objectName] = std::move(action);
}

void ModalDriver::Look() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible()) return;
  const auto found = actions_.find(modal->objectName().toStdString());
  if (found == actions_.end()) return;
  Action action = std::move(found->second);
  actions_.erase(found);
  action(modal);
}

bool SavePicture(QWidget* window, const std::string& path) {
  QApplication::processEvents();
  return window->grab().save(QString::fromStdString(path), "PNG");
}

}  // namespace t740::host
