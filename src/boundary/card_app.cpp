#include "boundary/card_app.h"

namespace t740 {

CCardApp& CCardApp::Instance() {
  static CCardApp app;
  return app;
}

}  // namespace t740
