// A host for the fuzz targets: the tests' recording fake card behind the
// request function, answering every request with the fuzzer's text (or
// throwing), and a card object around it that never really pauses.
#ifndef T740_FUZZ_FAKE_HOST_H
#define T740_FUZZ_FAKE_HOST_H

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/card/card_object.h"
#include "support/recording_card.h"

namespace t740::fuzz {

using HostRequest = test::RecordedRequest;
using Messages = test::RecordingMessages;

class FakeHost {
 public:
  enum class Behaviour { Answer, LeaveUntouched, Throw };

  FakeHost() {
    test::ConnectCard(card, pause_, "10.0.0.5", "0105");
    recorder_.OnRequest([this](const HostRequest&, CText* response) { Reply(response); });
  }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  void Respond(std::string_view answer, Behaviour behaviour = Behaviour::Answer) {
    answer_ = std::string(answer);
    behaviour_ = behaviour;
  }
  std::vector<HostRequest> Requests() const { return recorder_.Requests(); }

  CCardObject card;

 private:
  void Reply(CText* response) const {
    switch (behaviour_) {
      case Behaviour::Answer:
        *response = CText(answer_);
        return;
      case Behaviour::LeaveUntouched:
        return;
      case Behaviour::Throw:
        throw std::runtime_error("link down");
    }
  }

  test::RecordingCard recorder_;
  test::RecordingPause pause_;
  std::string answer_;
  Behaviour behaviour_ = Behaviour::Answer;
};

}  // namespace t740::fuzz

#endif
