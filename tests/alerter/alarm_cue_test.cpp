// The cue a card's t740AlarmChange carries, and the bindings that carry
// none: each a notification as the card sends it with one thing changed.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <variant>
#include <vector>

#include "alerter/notifications/alarm_cue.h"
#include "protocol/card_mib.h"

namespace t740::alerter {
namespace {

using Bindings = std::unique_ptr<netsnmp_variable_list, void (*)(netsnmp_variable_list*)>;

const oid kSnmpTrapOid[] = {1, 3, 6, 1, 6, 3, 1, 1, 4, 1, 0};

std::vector<oid> Oid(const std::vector<uint32_t>& arcs) {
  return std::vector<oid>(arcs.begin(), arcs.end());
}

struct Notification {
  std::vector<oid> trap = Oid(protocol::AlarmChangeArcs());
  std::string ip = "192.168.1.100", card = "0107", port = "B", alarm = "STM-LOS";
  long state = protocol::kAlarmRaised;
  u_char stateType = ASN_INTEGER;
  bool withTime = true;
  std::vector<protocol::AlarmObject> twice;
};

void AddObject(netsnmp_variable_list** list, protocol::AlarmObject object, u_char type,
               const void* value, size_t size) {
  const std::vector<oid> name = Oid(protocol::AlarmObjectArcs(object));
  snmp_varlist_add_variable(list, name.data(), name.size(), type, value, size);
}

Bindings Build(const Notification& n) {
  netsnmp_variable_list* list = nullptr;
  snmp_varlist_add_variable(&list, kSnmpTrapOid, OID_LENGTH(kSnmpTrapOid), ASN_OBJECT_ID,
                            n.trap.data(), n.trap.size() * sizeof(oid));
  const std::pair<protocol::AlarmObject, const std::string*> texts[] = {
      {protocol::AlarmObject::CardIp, &n.ip},
      {protocol::AlarmObject::Card, &n.card},
      {protocol::AlarmObject::Port, &n.port},
      {protocol::AlarmObject::Name, &n.alarm},
  };
  for (const auto& [object, text] : texts) {
    AddObject(&list, object, ASN_OCTET_STR, text->data(), text->size());
  }
  AddObject(&list, protocol::AlarmObject::State, n.stateType, &n.state, sizeof n.state);
  const u_long time = 1700000000;
  if (n.withTime) AddObject(&list, protocol::AlarmObject::Time, ASN_UNSIGNED, &time, sizeof time);
  for (protocol::AlarmObject object : n.twice) {
    AddObject(&list, object, ASN_OCTET_STR, "A", 1);
  }
  return Bindings(list, snmp_free_varbind);
}

TEST(AlarmCueTest, CardNotificationBecomesItsCue) {
  const auto arrived = std::chrono::steady_clock::now();
  Notification notification;
  notification.state = protocol::kAlarmCleared;
  const auto cue = AlarmCueOf(Build(notification).get(), "127.0.0.3", arrived);
  ASSERT_TRUE(std::holds_alternative<AlarmCue>(cue)) << std::get<std::string>(cue);
  const AlarmCue& got = std::get<AlarmCue>(cue);
  EXPECT_EQ(got.source, "127.0.0.3");
  EXPECT_EQ(got.cardIp, "192.168.1.100");
  EXPECT_EQ(got.card, "0107");
  EXPECT_EQ(got.port, "B");
  EXPECT_EQ(got.alarm, "STM-LOS");
  EXPECT_FALSE(got.raised);
  EXPECT_EQ(std::chrono::system_clock::to_time_t(got.cardTime), 1700000000);
  EXPECT_EQ(got.arrived, arrived);
}

TEST(AlarmCueTest, BindingsTheCardNeverSendsCarryNoCue) {
  const struct {
    const char* what;
    std::function<void(Notification&)> change;
  } kCases[] = {
      {"another notification", [](Notification& n) { n.trap.back() = 2; }},
      {"a shorter trap identifier", [](Notification& n) { n.trap.pop_back(); }},
      {"a card address of one digit", [](Notification& n) { n.card = "7"; }},
      {"a card address of five digits", [](Notification& n) { n.card = "01070"; }},
      {"a card address with a letter", [](Notification& n) { n.card = "01a7"; }},
      {"port E", [](Notification& n) { n.port = "E"; }},
      {"two ports", [](Notification& n) { n.port = "AB"; }},
      {"an alarm the card has not", [](Notification& n) { n.alarm = "MS-AIS"; }},
      {"an alarm name in lower case", [](Notification& n) { n.alarm = "stm-los"; }},
      {"no card IP", [](Notification& n) { n.ip = "card"; }},
      {"state 0", [](Notification& n) { n.state = 0; }},
      {"state 3", [](Notification& n) { n.state = 3; }},
      {"state as a gauge", [](Notification& n) { n.stateType = ASN_UNSIGNED; }},
      {"no time", [](Notification& n) { n.withTime = false; }},
      {"the port twice", [](Notification& n) { n.twice = {protocol::AlarmObject::Port}; }},
      {"the time as text", [](Notification& n) { n.twice = {protocol::AlarmObject::Time}; }},
  };
  for (const auto& bad : kCases) {
    Notification notification;
    bad.change(notification);
    const auto cue = AlarmCueOf(Build(notification).get(), "127.0.0.1", {});
    EXPECT_TRUE(std::holds_alternative<std::string>(cue)) << bad.what;
  }
  EXPECT_TRUE(std::holds_alternative<std::string>(AlarmCueOf(nullptr, "127.0.0.1", {})));
}

}  // namespace
}  // namespace t740::alerter
