// Acts on the plug-in's modal windows from inside their modal loops, the
// way an operator would: the host uses it to take pictures of them and to
// close them when nobody is at the screen.
#ifndef T740_HOST_WINDOWS_MODAL_DRIVER_H
#define T740_HOST_WINDOWS_MODAL_DRIVER_H

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QWidget;

namespace t740::host {

class ModalDriver : public QObject {
 public:
  using Action = std::function<void(QWidget* window)>;

  ModalDriver();

  // Runs `action` once, the first time the window with this objectName is
  // the visible modal window on top.
  void On(const std::string& objectName, Action action);
  // Runs `action` once for each other modal window that comes on top.
  void Otherwise(Action action) { otherwise_ = std::move(action); }
  // Runs `tick` every time the driver looks, modal window or not.
  void EveryLook(std::function<void()> tick) { tick_ = std::move(tick); }

 private:
  void Look();
  bool Handled(QWidget* window) const;

  std::map<std::string, Action> actions_;
  Action otherwise_;
  std::function<void()> tick_;
  // Windows acted on, so that one that stays up is not acted on again.
  std::vector<QPointer<QWidget>> handled_;
  QTimer timer_;
};

// Saves a picture of the window; returns false when it could not be written.
bool SavePicture(QWidget* window, const std::string& path);

}  // namespace t740::host

#endif
