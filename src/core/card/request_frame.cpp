#include "core/card/request_frame.h"

#include <algorithm>

#include "core/card/card_address.h"

namespace t740 {

std::string CallRequest(const CCardObject& card, Operation operation, std::string_view oid,
                        std::string_view value, std::string_view preset) {
  CText response(preset);
  if (RequestFunction request = card.Request()) {
    request(static_cast<int>(operation), CText(card.IpAddress()), CText(oid), CText("1"),
            CText(value), &response);
  }
  return std::string(response.view());
}

std::string RequestGroupRead(const CCardObject& card, const Group& group) {
  const std::string oid = BuildCardOid(card.CardAddress(), Operation::Read, group.suffix);
  return CallRequest(card, Operation::Read, oid, {}, {});
}

std::optional<std::string> AcceptReadResponse(std::string_view response, size_t minimum,
                                              const Group& group, MessageSink& messages) {
  if (response.size() < minimum) {
    if (group.readShort) messages.ShowMessage(group.readShort);
    return std::nullopt;
  }
  return std::string(response.substr(std::min(kHeadLength, response.size())));
}

std::optional<std::string> ReadGroupFromCard(const CCardObject& card, const Group& group,
                                             size_t minimum, MessageSink& messages) {
  std::string response;
  try {
    response = RequestGroupRead(card, group);
  } catch (...) {
    return std::nullopt;
  }
  return AcceptReadResponse(response, minimum, group, messages);
}

WriteOutcome WriteGroup(const CCardObject& card, const Group& group, std::string_view data,
                        MessageSink& messages, bool report) {
  if (data.size() < group.writeMinimum) {
    if (group.writeShort) messages.ShowMessage(group.writeShort);
    return WriteOutcome::DataShort;
  }
  std::string value = group.setHead;
  value.append(data);
  const std::string oid = BuildCardOid(card.CardAddress(), Operation::Write, group.suffix);
  bool succeeded = false;
  try {
    succeeded = CallRequest(card, Operation::Write, oid, value, group.preset) == "1";
  } catch (...) {
    succeeded = false;
  }
  card.Pauses().Sleep(10);
  if (report) messages.ShowMessage(succeeded ? group.writeSuccess : group.writeFailure);
  return succeeded ? WriteOutcome::Succeeded : WriteOutcome::Failed;
}

}  // namespace t740
