#include "core/card/card_app.h"

#include "core/card/pause.h"

namespace t740 {

// The real pause comes into being first and so goes after the application
// object, whose end waits for the workers still pausing on it.
CCardApp::CCardApp() {
  RealPause();
}

CCardApp& CCardApp::Instance() {
  static CCardApp app;
  return app;
}

}  // namespace t740
