#include "sim/simulated_card.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include "protocol/identifier.h"
#include "sim/request_binding.h"

namespace t740::sim {
namespace {

constexpr char kRefusedWrite[] = "0";

std::string TargetOf(std::string_view oid) {
  const auto id = protocol::ParseIdentifier(oid);
  return id ? id->suffix : std::string();
}

std::string_view TargetOf(StatusKind kind) {
  switch (kind) {
    case StatusKind::Alarm:
      return kAlarmStatusTarget;
    case StatusKind::Led:
      return kLedStatusTarget;
    case StatusKind::Performance:
      return kPerformanceTarget;
  }
  return {};
}

}  // namespace

std::string StatusOf(const CardModel& card, StatusKind kind) {
  switch (kind) {
    case StatusKind::Alarm:
      return card.AlarmStatus();
    case StatusKind::Led:
      return card.LedStatus();
    case StatusKind::Performance:
      return card.PerformanceData();
  }
  return {};
}

Clock WallClock() {
  return [] {
    using namespace std::chrono;
    return static_cast<int64_t>(
        duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
  };
}

SimulatedCard::SimulatedCard(CardIdentity identity, CardState state, Clock clock,
                             int64_t uptimeSeconds, CatchUp catchUp)
    : identity_(identity),
      clock_(std::move(clock)),
      // Later: the model starts at the start of its uptime, with none.
      model_(std::move(identity), std::move(state),
             clock_() - (catchUp == CatchUp::AtFirstRequest ? uptimeSeconds : 0),
             catchUp == CatchUp::AtOnce ? uptimeSeconds : 0) {}

SimulatedCard::~SimulatedCard() {
  UnbindRequestFunction(*this);
}

int SimulatedCard::Request(int operation, const CText& ip, const CText& oid, const CText& one,
                           const CText& value, CText* response) {
  const bool isWrite = operation == 1;
  FaultEffect effect;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back({operation, std::string(ip.view()), std::string(oid.view()),
                         std::string(one.view()), std::string(value.view())});
    effect = faults_.Take(TargetOf(oid.view()), isWrite);
  }
  if (effect.untouched || !response) return 0;
  std::string answer = AnswerUnderFault(effect, isWrite, [&](CardModel& card) {
    return card.Answer(operation, ip.view(), oid.view(), value.view());
  });
  *response = CText(answer);
  return answer.empty() ? 0 : 1;
}

std::string SimulatedCard::FetchStatus(StatusKind kind, std::string_view ip,
                                       std::string_view cardAddress) {
  FaultEffect effect;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    effect = faults_.Take(TargetOf(kind), false);
  }
  if (effect.untouched) return "";
  return AnswerUnderFault(effect, false, [&](CardModel& card) {
    return card.IsAddressed(ip, cardAddress) ? StatusOf(card, kind) : std::string();
  });
}

std::string SimulatedCard::AnswerUnderFault(const FaultEffect& effect, bool isWrite,
                                            const std::function<std::string(CardModel&)>& answer) {
  // Sleep without the lock, so that a slow answer does not hold up others.
  if (effect.delayMilliseconds > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(effect.delayMilliseconds));
  }
  if (effect.throws) throw std::runtime_error("simulated card: the transport failed");
  if (effect.nothing) return "";
  if (effect.rejectWrite && isWrite) return kRefusedWrite;
  std::string text;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    model_.AdvanceTo(clock_());
    text = answer(model_);
  }
  if (effect.shortLength && text.size() > *effect.shortLength) text.resize(*effect.shortLength);
  return text;
}

void SimulatedCard::Update(const std::function<void(CardModel&)>& change) {
  std::lock_guard<std::mutex> lock(mutex_);
  model_.AdvanceTo(clock_());
  change(model_);
}

CardState SimulatedCard::Snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return model_.State();
}

void SimulatedCard::InjectFault(Fault fault) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.Add(std::move(fault));
}

void SimulatedCard::ClearFaults() {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.Clear();
}

std::vector<LoggedRequest> SimulatedCard::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void SimulatedCard::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

}  // namespace t740::sim
