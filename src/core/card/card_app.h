// The plug-in's single application object: it lives from the library's
// load to its unload, owns what the plug-in's windows load from the
// library itself, and waits at its end for the workers still finishing.
#ifndef T740_CORE_CARD_CARD_APP_H
#define T740_CORE_CARD_CARD_APP_H

#include "core/card/ending_workers.h"

namespace t740 {

class CCardApp {
 public:
  static CCardApp& Instance();

  CCardApp(const CCardApp&) = delete;
  CCardApp& operator=(const CCardApp&) = delete;

  EndingWorkers& Workers() { return workers_; }

 private:
  CCardApp();

  EndingWorkers workers_;
};

}  // namespace t740

#endif
