// One run of a window command: the modal driver and the pictures, and what
// the host does unasked. With nobody at the screen, every message box the
// plug-in opens is pictured, told on the error stream and answered with its
// default button, and any other window the host does not know is pictured,
// told and closed, so the run always goes on to its end. At the time limit
// the host pictures what is open, says what it waited for, closes the
// windows and ends the run with status 1.
#ifndef T740_HOST_WINDOWS_WINDOW_RUN_H
#define T740_HOST_WINDOWS_WINDOW_RUN_H

#include <string>

#include "host/windows/modal_driver.h"
#include "host/windows/window_pictures.h"
#include "hosting/plugin/host_context.h"

class QWidget;

namespace t740::host {

class WindowRun {
 public:
  // Pictures go into `directory`, none when it is empty.
  WindowRun(HostContext& context, bool headless, std::string directory);
  ~WindowRun();
  WindowRun(const WindowRun&) = delete;
  WindowRun& operator=(const WindowRun&) = delete;

  ModalDriver& Driver() { return driver_; }
  PictureList& Pictures() { return pictures_; }

  // Lists the pictures and the failed requests; the command's status, or 1
  // when a message reported a failure or a request to the card failed.
  int Finish(int status);

 private:
  void Answer(QWidget* window);
  void AnswerMessage(QWidget* box);
  void CloseUnknown(QWidget* window);
  void EndAtTimeLimit();
  // "message-1.png" and so on in the directory; empty without one.
  std::string NextPicture(const char* kind, int& count);
  void Picture(QWidget* window, const std::string& path);

  HostContext& context_;
  std::string directory_;
  ModalDriver driver_;
  PictureList pictures_;
  int messages_ = 0;
  int windows_ = 0;
  int openAtLimit_ = 0;
  bool failed_ = false;
  int requestFailuresBefore_;
};

}  // namespace t740::host

#endif
