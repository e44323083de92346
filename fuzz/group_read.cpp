// The read road of every group the pages read, with the host's response (or
// the start-up poll's cached one) taken from the fuzzer: the length check
// and its message, the head drop and each group's slicing by fixed offsets,
// and what the page would send back built from what it was shown.
#include <string>

#include "core/card/card_address.h"
#include "core/card/codecs.h"
#include "core/card/page_load_rule.h"
#include "core/card/request_frame.h"
#include "core/console/basic_info_record.h"
#include "core/console/loopback_record.h"
#include "core/overhead/path_overhead.h"
#include "core/overhead/section_overhead.h"
#include "core/overhead/upper_ascii.h"
#include "core/thresholds/threshold_exchange.h"
#include "fake_host.h"
#include "fuzz_input.h"
#include "reference_codecs.h"

namespace {

using t740::fuzz::FakeHost;
using t740::fuzz::Messages;
using t740::fuzz::ReferenceSlice;

struct Read {
  std::string response;
  bool fromCache;  // the first read after the poll
  t740::fuzz::FakeHost::Behaviour behaviour;
};

// The single read request a read that did not use the cache makes.
void CheckReadRequest(const FakeHost& host, const Read& read, std::string_view suffix) {
  const std::vector<t740::fuzz::HostRequest> requests = host.Requests();
  if (read.fromCache) {
    FUZZ_CHECK(requests.empty());
    return;
  }
  FUZZ_CHECK(requests.size() == 1);
  const t740::fuzz::HostRequest& request = requests.front();
  FUZZ_CHECK(request.operation == 0);
  FUZZ_CHECK(request.oid ==
             t740::BuildCardOid(host.card.CardAddress(), t740::Operation::Read, suffix));
  FUZZ_CHECK(request.one == "1");
  FUZZ_CHECK(request.value.empty());
  FUZZ_CHECK(request.preset.empty());
}

// What the response came to: the host's text, an empty text from a host
// that wrote nothing, or nothing at all from one that threw.
std::optional<std::string> Delivered(const Read& read) {
  if (read.fromCache) return read.response;
  switch (read.behaviour) {
    case FakeHost::Behaviour::Answer:
      return read.response;
    case FakeHost::Behaviour::LeaveUntouched:
      return std::string();
    case FakeHost::Behaviour::Throw:
      break;
  }
  return std::nullopt;
}

// Whether the read should go on to the slicing: exactly one message (the
// group's) for a short response, none otherwise.
bool CheckLengthRule(const Read& read, const Messages& messages, size_t minimum,
                     const char* shortMessage, bool accepted) {
  const std::optional<std::string> delivered = Delivered(read);
  const bool expectAccepted = delivered && delivered->size() >= minimum;
  FUZZ_CHECK(accepted == expectAccepted);
  if (delivered && !expectAccepted) {
    FUZZ_CHECK(messages.shown.size() == 1 && messages.shown.front() == shortMessage);
  } else {
    FUZZ_CHECK(messages.shown.empty());
  }
  return expectAccepted;
}

void ReadBasicInfo(FakeHost& host, const Read& read, const std::string& deviceType,
                   const std::optional<std::string>& location) {
  HostDeviceRecord record{};
  record.deviceType = deviceType.c_str();
  record.location = location ? location->c_str() : nullptr;
  host.card.SetDeviceRecord(&record);
  Messages messages;
  const t740::Group& group = t740::GroupOf(t740::GroupId::BasicInfo);
  const auto shown = t740::BuildDeviceInformation(host.card, read.response, messages);
  if (!CheckLengthRule({read.response, true, read.behaviour}, messages, group.readMinimum,
                       group.readShort, shown.has_value())) {
    return;
  }
  const std::string& r = read.response;
  const std::string software{'V', r[6], '.', r[7]};
  const std::string hardware{'V', r[8], '.', r[9]};
  FUZZ_CHECK(shown->software == software);
  FUZZ_CHECK(shown->hardware == hardware);
  FUZZ_CHECK(shown->deviceType == deviceType.c_str());
  FUZZ_CHECK(shown->location == (location ? location->c_str() : ""));
  host.card.SetDeviceRecord(nullptr);
}

void ReadLoopback(FakeHost& host, const Read& read) {
  const t740::Group& group = t740::GroupOf(t740::GroupId::Loopback);
  host.card.SetLoopbackCache(read.response);
  t740::CacheFirstRead rule(t740::GroupId::Loopback);
  if (!read.fromCache) rule.SkipCache();
  Messages messages;
  std::optional<std::string> data;
  try {
    const std::string response = rule.Response(host.card);
    data = t740::AcceptReadResponse(response, group.readMinimum, group, messages);
  } catch (const std::exception&) {
    FUZZ_CHECK(!Delivered(read));
  }
  FUZZ_CHECK(rule.CacheUsed());
  CheckReadRequest(host, read, group.suffix);
  if (!CheckLengthRule(read, messages, group.readMinimum, group.readShort, data.has_value())) {
    return;
  }
  const auto on = t740::ParseLoopback(*data);
  const std::string bits = t740::fuzz::ReferenceHexToBits(*data);
  std::array<bool, t740::kLoopbackBoxes> boxes{};
  for (size_t i = 0; i < on.size(); ++i) {
    FUZZ_CHECK(on[i].has_value() == (i < bits.size()));
    if (on[i]) FUZZ_CHECK(*on[i] == (bits[i] == '1'));
    boxes[i] = on[i].value_or(false);
  }
  const std::string sent = t740::BuildLoopbackData(boxes);
  FUZZ_CHECK(sent.size() == 2 && t740::fuzz::IsHexText(sent));
  const std::string_view byte = ReferenceSlice(*data, 0, 2);
  if (byte.size() == 2 && t740::fuzz::IsHexText(byte)) {
    FUZZ_CHECK(sent == t740::fuzz::ReferenceUpper(byte));
  }
}

void CheckSectionDirections(const t740::SectionDirections& directions, std::string_view data) {
  struct Slot {
    std::string t740::SectionDirection::*text;
    size_t offset;
    size_t length;
  };
  const Slot slots[] = {
      {&t740::SectionDirection::j0Received, 0, 32}, {&t740::SectionDirection::j0Expected, 32, 32},
      {&t740::SectionDirection::j0Send, 64, 32},    {&t740::SectionDirection::k1Received, 96, 2},
      {&t740::SectionDirection::k1Send, 98, 2},     {&t740::SectionDirection::k2Received, 100, 2},
      {&t740::SectionDirection::k2Send, 102, 2},    {&t740::SectionDirection::s1Received, 104, 2},
      {&t740::SectionDirection::s1Send, 106, 2},    {&t740::SectionDirection::z0Send, 108, 2}};
  for (size_t d = 0; d < directions.size(); ++d) {
    for (const Slot& slot : slots) {
      FUZZ_CHECK(directions[d].*slot.text ==
                 ReferenceSlice(data, 120 * d + slot.offset, slot.length));
    }
  }
  Messages messages;
  const auto record = t740::BuildSectionRecord(directions, messages);
  FUZZ_CHECK(record.has_value() == messages.shown.empty());
  if (!record) {
    FUZZ_CHECK(messages.shown.size() == 1);
    return;
  }
  // A record the page sends back: what it was shown, upper-cased, with the
  // received and reserved positions zeroed.
  FUZZ_CHECK(record->size() == t740::kSectionRecordLength);
  const std::string zeros32(32, '0');
  for (size_t d = 0; d < directions.size(); ++d) {
    const std::string_view block = std::string_view(*record).substr(120 * d, 120);
    FUZZ_CHECK(block.substr(0, 32) == zeros32);
    FUZZ_CHECK(block.substr(110, 10) == "0000000000");
    for (size_t received : {96, 100, 104}) FUZZ_CHECK(block.substr(received, 2) == "00");
  }
}

void ReadSection(FakeHost& host, const Read& read) {
  const t740::Group& group = t740::GroupOf(t740::GroupId::SectionOverhead);
  host.card.SetSectionOverheadCache(read.response);
  t740::CacheFirstRead rule(t740::GroupId::SectionOverhead);
  if (!read.fromCache) rule.SkipCache();
  Messages messages;
  const auto directions = t740::FetchSectionOverhead(host.card, rule, messages);
  FUZZ_CHECK(rule.CacheUsed());
  CheckReadRequest(host, read, group.suffix);
  if (CheckLengthRule(read, messages, group.readMinimum, group.readShort, directions.has_value())) {
    CheckSectionDirections(*directions, std::string_view(read.response).substr(6));
  }
}

int ReferenceListPosition(std::string_view field) {
  const int position = t740::AtoiOf(field);
  return position >= 0 && position < t740::kPathListLength ? position : t740::kNoListPosition;
}

void CheckPathOverhead(const t740::PathOverhead& shown, std::string_view data) {
  FUZZ_CHECK(shown.port == ReferenceListPosition(ReferenceSlice(data, 2, 2)));
  FUZZ_CHECK(shown.vc4 == ReferenceListPosition(ReferenceSlice(data, 4, 2)));
  FUZZ_CHECK(shown.j1Received == ReferenceSlice(data, 6, 32));
  FUZZ_CHECK(shown.j1Expected == ReferenceSlice(data, 38, 32));
  FUZZ_CHECK(shown.j1Send == ReferenceSlice(data, 70, 32));
  FUZZ_CHECK(shown.c2Received == ReferenceSlice(data, 102, 2));
  FUZZ_CHECK(shown.c2Expected == ReferenceSlice(data, 104, 2));
  FUZZ_CHECK(shown.c2Send == ReferenceSlice(data, 106, 2));
  FUZZ_CHECK(shown.k3Send == ReferenceSlice(data, 110, 2));
  FUZZ_CHECK(shown.g1RemoteDefect == (ReferenceSlice(data, 112, 2) != "00"));
  FUZZ_CHECK(shown.n1Send == ReferenceSlice(data, 114, 2));

  Messages messages;
  const auto set = t740::BuildPathRecord(t740::kPathModeSet, true, shown, messages);
  FUZZ_CHECK(set.has_value() == messages.shown.empty());
  if (set) {
    // Every field at its offset, whatever the received fields held.
    FUZZ_CHECK(set->size() == t740::kPathRecordLength);
    FUZZ_CHECK(set->substr(0, 2) == t740::kPathModeSet);
    FUZZ_CHECK(set->substr(108, 2) == "00");
    FUZZ_CHECK(set->substr(112, 2) == (shown.g1RemoteDefect ? "08" : "00"));
    FUZZ_CHECK(set->substr(2, 2) == t740::EncodeListPosition(shown.port));
    FUZZ_CHECK(set->substr(4, 2) == t740::EncodeListPosition(shown.vc4));
    FUZZ_CHECK(set->substr(6, 32) == (shown.j1Received.size() == 32
                                          ? t740::UpperAscii(shown.j1Received)
                                          : std::string(32, '0')));
  }
  const auto select = t740::BuildPathRecord(t740::kPathModeSelect, false, shown, messages);
  FUZZ_CHECK(select.has_value());
  FUZZ_CHECK(select->substr(0, 2) == t740::kPathModeSelect);
}

void ReadPath(FakeHost& host, const Read& read, bool fromReadButton) {
  const t740::Group& group = t740::GroupOf(t740::GroupId::PathOverhead);
  Messages messages;
  const auto shown = t740::FetchPathOverhead(host.card, fromReadButton, messages);
  CheckReadRequest(host, {read.response, false, read.behaviour}, group.suffix);
  const size_t minimum =
      fromReadButton ? t740::kPathReadMinimumFromButton : t740::kPathReadMinimumAtOpening;
  if (CheckLengthRule({read.response, false, read.behaviour}, messages, minimum, group.readShort,
                      shown.has_value())) {
    CheckPathOverhead(*shown, std::string_view(read.response).substr(6));
  }
}

void ReadThresholds(FakeHost& host, const Read& read) {
  const t740::Group& group = t740::GroupOf(t740::GroupId::Thresholds);
  host.card.SetThresholdCache(read.response);
  t740::ThresholdReader reader;
  if (!read.fromCache) reader.SkipCache();
  Messages messages;
  const auto texts = reader.Read(host.card, messages);
  FUZZ_CHECK(reader.CacheUsed());
  CheckReadRequest(host, read, group.suffix);
  if (!CheckLengthRule(read, messages, group.readMinimum, group.readShort, texts.has_value())) {
    return;
  }
  const std::string_view data = std::string_view(read.response).substr(6);
  for (size_t k = 0; k < texts->size(); ++k) {
    const std::string& text = (*texts)[k];
    const auto value = t740::ParseThresholdValue(text);
    // Every value shown is one the page accepts again as it stands.
    FUZZ_CHECK(value.has_value());
    FUZZ_CHECK(std::to_string(*value) == text);
    const std::string_view group4 = data.substr(4 * k, 4);
    if (t740::fuzz::IsHexText(group4)) {
      FUZZ_CHECK(t740::EncodeThresholdValue(*value) == t740::fuzz::ReferenceUpper(group4));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const uint8_t group = input.Byte() % 6;
  Read read;
  read.fromCache = input.Flag();
  const uint8_t behaviour = input.Byte() % 8;
  read.behaviour = behaviour == 0   ? FakeHost::Behaviour::Throw
                   : behaviour == 1 ? FakeHost::Behaviour::LeaveUntouched
                                    : FakeHost::Behaviour::Answer;
  FakeHost host;
  host.card.SetIdentity("10.0.0.5", input.Take(input.Byte() % 6));
  // The host's record texts, for the basic information.
  const std::string deviceType(input.ShortText());
  std::optional<std::string> location(input.ShortText());
  if (input.Flag()) location.reset();
  read.response = std::string(input.Rest());
  host.Respond(read.response, read.behaviour);
  switch (group) {
    case 0:
      ReadBasicInfo(host, read, deviceType, location);
      break;
    case 1:
      ReadLoopback(host, read);
      break;
    case 2:
      ReadSection(host, read);
      break;
    case 3:
      ReadPath(host, read, false);
      break;
    case 4:
      ReadPath(host, read, true);
      break;
    case 5:
      ReadThresholds(host, read);
      break;
  }
  return 0;
}
