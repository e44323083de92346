// What a write makes of the host's answer: only an exact "1" is a success,
// anything else (the preset left in place, "1 ", "01", a throwing host) a
// failure, each shown with the group's own message; short data is never
// sent. The value sent is the group's set head and the data.
#include <string>

#include "core/card/card_address.h"
#include "core/card/request_frame.h"
#include "fake_host.h"
#include "fuzz_input.h"

namespace {

using t740::fuzz::FakeHost;

constexpr t740::GroupId kWritableGroups[] = {
    t740::GroupId::Loopback, t740::GroupId::SectionOverhead, t740::GroupId::PathOverhead,
    t740::GroupId::PerfClear, t740::GroupId::Thresholds};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const t740::Group& group = t740::GroupOf(kWritableGroups[input.Byte() % 5]);
  const uint8_t behaviour = input.Byte() % 8;
  const auto hostBehaviour = behaviour == 0   ? FakeHost::Behaviour::Throw
                             : behaviour == 1 ? FakeHost::Behaviour::LeaveUntouched
                                              : FakeHost::Behaviour::Answer;
  const bool report = input.Byte() % 4 != 0;
  // Mostly data of the group's length, so that the answer is what varies.
  const size_t length = input.Flag() ? group.writeMinimum : input.Int16() & 0x3FF;
  const std::string payload(length, 'A');
  const std::string answer(input.Rest());

  FakeHost host;
  host.Respond(answer, hostBehaviour);
  t740::fuzz::Messages messages;
  const t740::WriteOutcome outcome = t740::WriteGroup(host.card, group, payload, messages, report);

  if (payload.size() < group.writeMinimum) {
    FUZZ_CHECK(outcome == t740::WriteOutcome::DataShort);
    FUZZ_CHECK(host.Requests().empty());
    const bool hasMessage = group.writeShort != nullptr;
    FUZZ_CHECK(messages.shown.size() == (hasMessage ? 1u : 0u));
    if (hasMessage) FUZZ_CHECK(messages.shown.front() == group.writeShort);
    return 0;
  }
  const std::vector<t740::fuzz::HostRequest> requests = host.Requests();
  FUZZ_CHECK(requests.size() == 1);
  const t740::fuzz::HostRequest& request = requests.front();
  FUZZ_CHECK(request.operation == 1);
  FUZZ_CHECK(request.oid ==
             t740::BuildCardOid(host.card.CardAddress(), t740::Operation::Write, group.suffix));
  FUZZ_CHECK(request.value == std::string(group.setHead) + payload);
  FUZZ_CHECK(request.preset == group.preset);

  const bool succeeded = hostBehaviour == FakeHost::Behaviour::Answer && answer == "1";
  FUZZ_CHECK(outcome == (succeeded ? t740::WriteOutcome::Succeeded : t740::WriteOutcome::Failed));
  if (report) {
    FUZZ_CHECK(messages.shown.size() == 1);
    FUZZ_CHECK(messages.shown.front() == (succeeded ? group.writeSuccess : group.writeFailure));
  } else {
    FUZZ_CHECK(messages.shown.empty());
  }
  return 0;
}
