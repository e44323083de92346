// The plug-in's single application object: it lives from the library's
// load to its unload and owns what the plug-in's windows load from the
// library itself.
#ifndef T740_BOUNDARY_CARD_APP_H
#define T740_BOUNDARY_CARD_APP_H

namespace t740 {

class CCardApp {
 public:
  static CCardApp& Instance();

  CCardApp(const CCardApp&) = delete;
  CCardApp& operator=(const CCardApp&) = delete;

 private:
  CCardApp() = default;
};

}  // namespace t740

#endif
