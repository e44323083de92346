// Where a page's messages to the operator go: message boxes in the dialogs,
// a recorder in tests. Messages are GBK texts.
#ifndef T740_CORE_CARD_MESSAGE_SINK_H
#define T740_CORE_CARD_MESSAGE_SINK_H

#include <string_view>

namespace t740 {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void ShowMessage(std::string_view gbkText) = 0;
};

}  // namespace t740

#endif
