// For the length of one modal call the plug-in's own resources, fonts and
// translators (its English texts, or Qt's Chinese ones) are current; afterwards the host's state is
// back, even when the dialog code throws. A host without a QApplication (one that only decodes
// status) gets one for the call.
#ifndef T740_WIDGETS_RESOURCE_SCOPE_H
#define T740_WIDGETS_RESOURCE_SCOPE_H

#include <memory>

class QApplication;
class QTranslator;

namespace t740 {

class ResourceScope {
 public:
  ResourceScope();
  ~ResourceScope();
  ResourceScope(const ResourceScope&) = delete;
  ResourceScope& operator=(const ResourceScope&) = delete;

  // True when the system locale asks for the English templates.
  static bool EnglishLocale();

 private:
  std::unique_ptr<QApplication> ownApplication_;
  std::unique_ptr<QTranslator> translator_;
  std::unique_ptr<QTranslator> qtTranslator_;
};

}  // namespace t740

#endif
