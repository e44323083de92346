// Acts on the plug-in's modal windows from inside their modal loops, the
// way an operator would: the host uses it to take pictures of them and to
// close them when nobody is at the screen.
#ifndef T740_HOST_MODAL_DRIVER_H
#define T740_HOST_MODAL_DRIVER_H

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <string>

class QWidget;

namespace t740::host {

class ModalDriver : public QObject {
 public:
  using Action = std::function<void(QWidget* window)>;

  ModalDriver();

  // Runs `action` once, the first time the window with this objectName is
  // the visible modal window on top.
  void On(const std::string& objectName, Action action);

 private:
  void Look();

  std::map<std::string, Action> actions_;
  QTimer timer_;
};

// Saves a picture of the window; returns false when it could not be written.
bool SavePicture(QWidget* window, const std::string& path);

}  // namespace t740::host

#endif
