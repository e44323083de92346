// A fake card behind the host's request function: it records every request
// and answers from a script. The request function is a plain function, so
// one recorder is active at a time.
#ifndef T740_TESTS_SUPPORT_RECORDING_CARD_H
#define T740_TESTS_SUPPORT_RECORDING_CARD_H

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/card/card_object.h"
#include "core/card/message_sink.h"
#include "core/card/pause.h"
#include "t740/abi.h"

namespace t740::test {

struct RecordedRequest {
  int operation;
  std::string ip;
  std::string oid;
  std::string one;
  std::string value;
  std::string preset;  // what the response held when the call began
};

class RecordingCard {
 public:
  RecordingCard();
  ~RecordingCard();

  static RequestFunction Function();

  // Answers by identifier; an identifier without an answer leaves the
  // response as the plug-in preset it.
  void Answer(std::string_view oid, std::string_view response);
  // Called instead of the script when set; may throw.
  void OnRequest(std::function<void(const RecordedRequest&, CText*)> handler);

  std::vector<RecordedRequest> Requests() const;
  void Clear();

 private:
  static int Request(int operation, CText ip, CText oid, CText one, CText value, CText* response);

  mutable std::mutex mutex_;
  std::map<std::string, std::string, std::less<>> answers_;
  std::function<void(const RecordedRequest&, CText*)> handler_;
  std::vector<RecordedRequest> requests_;
};

class RecordingMessages : public MessageSink {
 public:
  void ShowMessage(std::string_view gbkText) override { shown.emplace_back(gbkText); }
  std::vector<std::string> shown;
};

class RecordingPause : public Pause {
 public:
  void Sleep(int milliseconds) override {
    std::lock_guard<std::mutex> lock(mutex);
    sleeps.push_back(milliseconds);
  }
  std::mutex mutex;
  std::vector<int> sleeps;
};

// Puts `card` behind the active recorder, with the identity given and
// pausing through `pause`.
void ConnectCard(CCardObject& card, Pause& pause, std::string_view ip,
                 std::string_view cardAddress);

}  // namespace t740::test

#endif
