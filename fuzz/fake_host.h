// A host for the fuzz targets: its request function answers every request
// with the fuzzer's text (or throws), and the card object around it never
// really pauses.
#ifndef T740_FUZZ_FAKE_HOST_H
#define T740_FUZZ_FAKE_HOST_H

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "boundary/card_object.h"
#include "boundary/message_sink.h"
#include "boundary/pause.h"

namespace t740::fuzz {

struct HostRequest {
  int operation;
  std::string oid;
  std::string one;
  std::string value;
  std::string preset;
};

class FakeHost {
 public:
  enum class Behaviour { Answer, LeaveUntouched, Throw };

  FakeHost() {
    Instance() = this;
    card.SetIdentity("10.0.0.5", "0105");
    card.SetRequestFunction(&Request);
    card.SetPause(pause_);
  }
  ~FakeHost() { Instance() = nullptr; }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  void Respond(std::string_view answer, Behaviour behaviour = Behaviour::Answer) {
    answer_ = std::string(answer);
    behaviour_ = behaviour;
  }

  CCardObject card;
  std::vector<HostRequest> requests;

 private:
  class NoPause : public Pause {
   public:
    void Sleep(int) override {}
  };

  static FakeHost*& Instance() {
    static FakeHost* host = nullptr;
    return host;
  }

  static int Request(int operation, CText, CText oid, CText one, CText value, CText* response) {
    FakeHost& host = *Instance();
    host.requests.push_back({operation, std::string(oid.view()), std::string(one.view()),
                             std::string(value.view()), std::string(response->view())});
    switch (host.behaviour_) {
      case Behaviour::Answer:
        *response = CText(host.answer_);
        return 1;
      case Behaviour::LeaveUntouched:
        return 0;
      case Behaviour::Throw:
        throw std::runtime_error("link down");
    }
    return 0;
  }

  std::string answer_;
  Behaviour behaviour_ = Behaviour::Answer;
  NoPause pause_;
};

class Messages : public MessageSink {
 public:
  void ShowMessage(std::string_view gbkText) override { shown.emplace_back(gbkText); }
  std::vector<std::string> shown;
};

}  // namespace t740::fuzz

#endif
