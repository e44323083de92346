// Misbehaviour a test can ask of the simulated card: answers cut short or
// missing, responses left as they were, refused writes, slow answers and a
// transport that throws.
#ifndef T740_SIM_FAULT_H
#define T740_SIM_FAULT_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace t740::sim {

enum class FaultKind {
  AnswerShort,     // the answer is cut to `shortLength` characters
  AnswerNothing,   // the response is emptied; the request is lost
  LeaveUntouched,  // the response keeps what the caller put in; the request is lost
  RejectWrites,    // writes answer "0" and change nothing; reads are unaffected
  Delay,           // the answer comes `delayMilliseconds` late
  Throw,           // the request function throws; the request is lost
};

// Names of the status texts as fault targets, beside group suffixes.
constexpr std::string_view kAlarmStatusTarget = "alarm";
constexpr std::string_view kLedStatusTarget = "led";
constexpr std::string_view kPerformanceTarget = "performance";

struct Fault {
  FaultKind kind;
  // A group suffix (".12"), a status text name, or empty for every request.
  std::string target;
  // How many requests it still hits; negative for all of them.
  int times = -1;
  size_t shortLength = 6;
  int delayMilliseconds = 0;
};

// What the faults that hit one request do to it, all together.
struct FaultEffect {
  bool throws = false;
  bool untouched = false;
  bool nothing = false;
  bool rejectWrite = false;
  int delayMilliseconds = 0;
  std::optional<size_t> shortLength;
};

class FaultPlan {
 public:
  void Add(Fault fault) { faults_.push_back(std::move(fault)); }
  void Clear() { faults_.clear(); }
  // Counts down the faults that hit a request for `target` and drops the
  // spent ones.
  FaultEffect Take(std::string_view target, bool isWrite);

 private:
  std::vector<Fault> faults_;
};

// The fault kind for its command-line name ("short", "nothing",
// "untouched", "reject-writes", "delay", "throw").
std::optional<FaultKind> FaultKindNamed(std::string_view name);

}  // namespace t740::sim

#endif
