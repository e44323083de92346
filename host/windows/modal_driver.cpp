#include "host/windows/modal_driver.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <algorithm>

namespace t740::host {

ModalDriver::ModalDriver() {
  connect(&timer_, &QTimer::timeout, this, &ModalDriver::Look);
  timer_.start(20);
}

void ModalDriver::On(const std::string& objectName, Action action) {
  actions_[objectName] = std::move(action);
}

bool ModalDriver::Handled(QWidget* window) const {
  return std::find(handled_.begin(), handled_.end(), window) != handled_.end();
}

void ModalDriver::Look() {
  if (tick_) tick_();
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible() || Handled(modal)) return;
  handled_.erase(std::remove(handled_.begin(), handled_.end(), nullptr), handled_.end());
  handled_.emplace_back(modal);
  const auto found = actions_.find(modal->objectName().toStdString());
  if (found == actions_.end()) {
    if (otherwise_) otherwise_(modal);
    return;
  }
  Action action = std::move(found->second);
  actions_.erase(found);
  action(modal);
}

bool SavePicture(QWidget* window, const std::string& path) {
  QApplication::processEvents();
  return window->grab().save(QString::fromStdString(path), "PNG");
}

}  // namespace t740::host
