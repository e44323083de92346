#include "support/recording_card.h"

#include <stdexcept>

namespace t740::test {
namespace {

RecordingCard* active = nullptr;

}  // namespace

RecordingCard::RecordingCard() {
  if (active) throw std::logic_error("one RecordingCard at a time");
  active = this;
}

RecordingCard::~RecordingCard() {
  active = nullptr;
}

RequestFunction RecordingCard::Function() {
  return &RecordingCard::Request;
}

void RecordingCard::Answer(std::string_view oid, std::string_view response) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[std::string(oid)] = std::string(response);
}

void RecordingCard::OnRequest(std::function<void(const RecordedRequest&, CText*)> handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  handler_ = std::move(handler);
}

std::vector<RecordedRequest> RecordingCard::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void RecordingCard::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

int RecordingCard::Request(int operation, CText ip, CText oid, CText one, CText value,
                           CText* response) {
  RecordingCard* self = active;
  if (!self) return 0;
  RecordedRequest request{operation,
                          std::string(ip.view()),
                          std::string(oid.view()),
                          std::string(one.view()),
                          std::string(value.view()),
                          std::string(response->view())};
  std::function<void(const RecordedRequest&, CText*)> handler;
  {
    std::lock_guard<std::mutex> lock(self->mutex_);
    self->requests_.push_back(request);
    handler = self->handler_;
    if (!handler) {
      auto found = self->answers_.find(request.oid);
      if (found != self->answers_.end()) *response = CText(found->second);
      return 1;
    }
  }
  handler(request, response);
  return 1;
}

void ConnectCard(CCardObject& card, Pause& pause, std::string_view ip,
                 std::string_view cardAddress) {
  card.SetRequestFunction(RecordingCard::Function());
  card.SetIdentity(ip, cardAddress);
  card.SetPause(pause);
}

}  // namespace t740::test
