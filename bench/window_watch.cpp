#include "window_watch.h"

#include <QEvent>
#include <QMessageBox>
#include <QTimer>

#include "ids/config_window_ids.h"

namespace t740::bench {

WindowWatch::WindowWatch(QApplication& app) {
  app.installEventFilter(this);
}

bool WindowWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (auto* box = qobject_cast<QMessageBox*>(widget)) {
    ++messages_;
    QTimer::singleShot(0, box, [box] { box->done(QMessageBox::Ok); });
  } else if (widget->objectName() == QString::number(ids::config_window::kTemplate)) {
    ConfigurationShown(widget);
  }
  return false;
}

}  // namespace t740::bench
