// A notification's PDU as it reaches the alerter, any bytes: net-snmp's
// parser makes what it can of them, and a cue made from that holds only
// values a card sends. The same bytes as a whole message name an engine
// and user within the library's bounds or nothing.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <variant>

#include "alerter/notifications/alarm_cue.h"
#include "alerter/notifications/usm_message_header.h"
#include "fuzz_input.h"
#include "protocol/alarm_names.h"

namespace {

bool IsDigits(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsAlarmName(const std::string& text) {
  return std::any_of(std::begin(t740::protocol::kSectionAlarmNames),
                     std::end(t740::protocol::kSectionAlarmNames),
                     [&](const char* name) { return text == name; });
}

void CheckCue(const t740::alerter::AlarmCue& cue) {
  FUZZ_CHECK(cue.card.size() >= 2 && cue.card.size() <= 4 && IsDigits(cue.card));
  FUZZ_CHECK(cue.port.size() == 1 && cue.port[0] >= 'A' && cue.port[0] <= 'D');
  FUZZ_CHECK(IsAlarmName(cue.alarm));
  FUZZ_CHECK(!cue.cardIp.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_TRAP2);
  size_t length = bytes.size();
  if (snmp_pdu_parse(pdu, reinterpret_cast<u_char*>(bytes.data()), &length) == 0) {
    const auto cue = t740::alerter::AlarmCueOf(pdu->variables, "127.0.0.1", {});
    if (const auto* made = std::get_if<t740::alerter::AlarmCue>(&cue)) CheckCue(*made);
  }
  snmp_free_pdu(pdu);
  const auto header = t740::alerter::UsmMessageHeaderOf(data, size);
  if (header) FUZZ_CHECK(header->engineId.size() <= 64 && header->userName.size() <= 256);
  return 0;
}
