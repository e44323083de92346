#include "sim/fault.h"

#include <algorithm>

namespace t740::sim {
namespace {

struct FaultName {
  const char* name;
  FaultKind kind;
};

constexpr FaultName kFaultNames[] = {
    {"short", FaultKind::AnswerShort},
    {"nothing", FaultKind::AnswerNothing},
    {"untouched", FaultKind::LeaveUntouched},
    {"reject-writes", FaultKind::RejectWrites},
    {"delay", FaultKind::Delay},
    {"throw", FaultKind::Throw},
};

bool Hits(const Fault& fault, std::string_view target, bool isWrite) {
  if (fault.times == 0) return false;
  if (!fault.target.empty() && fault.target != target) return false;
  return fault.kind != FaultKind::RejectWrites || isWrite;
}

void Apply(const Fault& fault, FaultEffect& effect) {
  switch (fault.kind) {
    case FaultKind::AnswerShort:
      effect.shortLength =
          std::min(effect.shortLength.value_or(fault.shortLength), fault.shortLength);
      break;
    case FaultKind::AnswerNothing:
      effect.nothing = true;
      break;
    case FaultKind::LeaveUntouched:
      effect.untouched = true;
      break;
    case FaultKind::RejectWrites:
      effect.rejectWrite = true;
      break;
    case FaultKind::Delay:
      effect.delayMilliseconds += fault.delayMilliseconds;
      break;
    case FaultKind::Throw:
      effect.throws = true;
      break;
  }
}

}  // namespace

FaultEffect FaultPlan::Take(std::string_view target, bool isWrite) {
  FaultEffect effect;
  for (Fault& fault : faults_) {
    if (!Hits(fault, target, isWrite)) continue;
    Apply(fault, effect);
    if (fault.times > 0) --fault.times;
  }
  faults_.erase(std::remove_if(faults_.begin(), faults_.end(),
                               [](const Fault& fault) { return fault.times == 0; }),
                faults_.end());
  return effect;
}

std::optional<FaultKind> FaultKindNamed(std::string_view name) {
  for (const FaultName& entry : kFaultNames) {
    if (name == entry.name) return entry.kind;
  }
  return std::nullopt;
}

}  // namespace t740::sim
