// What a host's application sees of the plug-in's windows, from an event
// filter on the whole application: every message box is answered with OK
// at once, so that an unexpected one cannot stall a run, and counted; the
// configuration window, each time it shows, goes to ConfigurationShown.
#ifndef T740_BENCH_WINDOW_WATCH_H
#define T740_BENCH_WINDOW_WATCH_H

#include <QApplication>
#include <QObject>
#include <QString>
#include <QWidget>

namespace t740::bench {

class WindowWatch : public QObject {
 public:
  explicit WindowWatch(QApplication& app);
  int MessagesAnswered() const { return messages_; }

 protected:
  virtual void ConfigurationShown(QWidget* window) = 0;

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;

  int messages_ = 0;
};

// The control with this id below `window`, or null.
template <class W>
W* ControlOf(QWidget* window, int id) {
  return window->findChild<W*>(QString::number(id));
}

}  // namespace t740::bench

#endif
