// Messages to the operator: a modal message box owned by the page, with the
// application's display name as caption and a single OK button.
#ifndef T740_WIDGETS_MESSAGE_BOX_H
#define T740_WIDGETS_MESSAGE_BOX_H

#include <string_view>

#include "core/card/message_sink.h"

class QWidget;

namespace t740 {

// Shows the GBK message modally and returns when the operator pressed OK.
void ShowPageMessage(QWidget* page, std::string_view gbkText);

// A page's messages, for the logic that reports through a MessageSink.
class PageMessages : public MessageSink {
 public:
  explicit PageMessages(QWidget* page) : page_(page) {}
  void ShowMessage(std::string_view gbkText) override { ShowPageMessage(page_, gbkText); }

 private:
  QWidget* page_;
};

}  // namespace t740

#endif
