#include "alerter/notifications/alarm_cue.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "protocol/alarm_names.h"
#include "protocol/card_mib.h"

namespace t740::alerter {
namespace {

const oid kSnmpTrapOid[] = {1, 3, 6, 1, 6, 3, 1, 1, 4, 1, 0};

bool IsIpv4(const std::string& text) {
  in_addr address{};
  return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

bool IsCardAddress(const std::string& text) {
  return text.size() >= 2 && text.size() <= 4 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsPort(const std::string& text) {
  return text.size() == 1 && text[0] >= 'A' && text[0] <= 'D';
}

bool IsAlarmName(const std::string& text) {
  return std::any_of(std::begin(protocol::kSectionAlarmNames),
                     std::end(protocol::kSectionAlarmNames),
                     [&](const char* name) { return text == name; });
}

struct TextField {
  protocol::AlarmObject object;
  const char* name;
  std::string AlarmCue::*field;
  bool (*valid)(const std::string&);
};
const TextField kTextFields[] = {
    {protocol::AlarmObject::CardIp, "t740AlarmCardIp", &AlarmCue::cardIp, IsIpv4},
    {protocol::AlarmObject::Card, "t740AlarmCard", &AlarmCue::card, IsCardAddress},
    {protocol::AlarmObject::Port, "t740AlarmPort", &AlarmCue::port, IsPort},
    {protocol::AlarmObject::Name, "t740AlarmName", &AlarmCue::alarm, IsAlarmName},
};

std::vector<oid> Oid(const std::vector<uint32_t>& arcs) {
  return std::vector<oid>(arcs.begin(), arcs.end());
}

bool Named(const netsnmp_variable_list& variable, const oid* name, size_t length) {
  return snmp_oid_compare(variable.name, variable.name_length, name, length) == 0;
}

// The one binding of `name`; a reason in `why` when it is there twice.
const netsnmp_variable_list* Find(const netsnmp_variable_list* variables, const oid* name,
                                  size_t length, const char* what, std::string& why) {
  const netsnmp_variable_list* found = nullptr;
  for (const netsnmp_variable_list* v = variables; v; v = v->next_variable) {
    if (!Named(*v, name, length)) continue;
    if (found) {
      why = std::string(what) + " is bound twice";
      return nullptr;
    }
    found = v;
  }
  if (!found && why.empty()) why = std::string("no ") + what;
  return found;
}

const netsnmp_variable_list* FindObject(const netsnmp_variable_list* variables,
                                        protocol::AlarmObject object, const char* what, u_char type,
                                        std::string& why) {
  const std::vector<oid> name = Oid(protocol::AlarmObjectArcs(object));
  const netsnmp_variable_list* found = Find(variables, name.data(), name.size(), what, why);
  if (found && found->type != type) {
    why = std::string(what) + " has the wrong type";
    return nullptr;
  }
  return found;
}

std::optional<std::string> CheckTrapOid(const netsnmp_variable_list* variables, AlarmCue&) {
  std::string why;
  const netsnmp_variable_list* trap =
      Find(variables, kSnmpTrapOid, OID_LENGTH(kSnmpTrapOid), "snmpTrapOID.0", why);
  if (!trap) return why;
  if (trap->type != ASN_OBJECT_ID || !trap->val.objid) return "snmpTrapOID.0 is no identifier";
  const std::vector<oid> expected = Oid(protocol::AlarmChangeArcs());
  if (snmp_oid_compare(trap->val.objid, trap->val_len / sizeof(oid), expected.data(),
                       expected.size()) != 0) {
    return "not a t740AlarmChange notification";
  }
  return std::nullopt;
}

std::string Octets(const netsnmp_variable_list& variable) {
  if (!variable.val.string) return "";
  return std::string(reinterpret_cast<const char*>(variable.val.string), variable.val_len);
}

std::optional<std::string> TakeTexts(const netsnmp_variable_list* variables, AlarmCue& cue) {
  for (const TextField& field : kTextFields) {
    std::string why;
    const netsnmp_variable_list* found =
        FindObject(variables, field.object, field.name, ASN_OCTET_STR, why);
    if (!found) return why;
    cue.*field.field = Octets(*found);
    if (!field.valid(cue.*field.field)) return std::string(field.name) + " holds no card's value";
  }
  return std::nullopt;
}

std::optional<std::string> TakeState(const netsnmp_variable_list* variables, AlarmCue& cue) {
  std::string why;
  const netsnmp_variable_list* state =
      FindObject(variables, protocol::AlarmObject::State, "t740AlarmState", ASN_INTEGER, why);
  if (!state) return why;
  const long value = state->val.integer ? *state->val.integer : 0;
  if (value != protocol::kAlarmRaised && value != protocol::kAlarmCleared) {
    return "t740AlarmState is neither raised nor cleared";
  }
  cue.raised = value == protocol::kAlarmRaised;
  return std::nullopt;
}

std::optional<std::string> TakeTime(const netsnmp_variable_list* variables, AlarmCue& cue) {
  std::string why;
  const netsnmp_variable_list* time =
      FindObject(variables, protocol::AlarmObject::Time, "t740AlarmTime", ASN_UNSIGNED, why);
  if (!time) return why;
  // Unsigned32: the library keeps it in a long, never above 2^32 - 1.
  const auto seconds = time->val.integer ? static_cast<uint32_t>(*time->val.integer) : 0u;
  cue.cardTime = std::chrono::system_clock::time_point(std::chrono::seconds(seconds));
  return std::nullopt;
}

}  // namespace

std::variant<AlarmCue, std::string> AlarmCueOf(const variable_list* variables,
                                               const std::string& source,
                                               std::chrono::steady_clock::time_point arrived) {
  AlarmCue cue;
  cue.source = source;
  cue.arrived = arrived;
  using Step = std::optional<std::string> (*)(const netsnmp_variable_list*, AlarmCue&);
  constexpr Step kSteps[] = {CheckTrapOid, TakeTexts, TakeState, TakeTime};
  for (Step step : kSteps) {
    if (auto why = step(variables, cue)) return *why;
  }
  return cue;
}

}  // namespace t740::alerter
