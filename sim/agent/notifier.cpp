#include "sim/agent/notifier.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <net-snmp/agent/net-snmp-agent-includes.h>

#include <cstring>
#include <stdexcept>
#include <string_view>

#include "protocol/card_mib.h"

namespace t740::sim {
namespace {

const oid kSysUpTime[] = {1, 3, 6, 1, 2, 1, 1, 3, 0};
const oid kSnmpTrapOid[] = {1, 3, 6, 1, 6, 3, 1, 1, 4, 1, 0};

struct Level {
  const char* word;  // as UsmUserEntry holds it
  int level;
};
constexpr Level kLevels[] = {
    {"noauth", SNMP_SEC_LEVEL_NOAUTH},
    {"auth", SNMP_SEC_LEVEL_AUTHNOPRIV},
    {"priv", SNMP_SEC_LEVEL_AUTHPRIV},
};

struct Protocol {
  const char* name;
  const oid* arcs;
  size_t length;
};
const Protocol kAuthProtocols[] = {
    {"SHA", usmHMACSHA1AuthProtocol, USM_AUTH_PROTO_SHA_LEN},
    {"SHA-256", usmHMAC192SHA256AuthProtocol, OID_LENGTH(usmHMAC192SHA256AuthProtocol)},
};
const Protocol kPrivProtocols[] = {
    {"AES", usmAESPrivProtocol, USM_PRIV_PROTO_AES_LEN},
};

template <typename Entry, size_t Count>
const Entry& Named(const Entry (&table)[Count], std::string_view name) {
  for (const Entry& entry : table) {
    if (name == entry.name) return entry;
  }
  throw std::runtime_error("net-snmp has no protocol " + std::string(name));
}

int LevelOf(const std::string& word) {
  for (const Level& level : kLevels) {
    if (word == level.word) return level.level;
  }
  return SNMP_SEC_LEVEL_NOAUTH;
}

// The user's keys from its pass phrases, as the library takes them.
void SetUser(netsnmp_session& session, const UsmUserEntry& user) {
  session.securityModel = SNMP_SEC_MODEL_USM;
  session.securityName = const_cast<char*>(user.name.c_str());
  session.securityNameLen = user.name.size();
  session.securityLevel = LevelOf(user.level);
  if (user.auth.empty()) return;
  const Protocol& auth = Named(kAuthProtocols, user.auth);
  session.securityAuthProto = const_cast<oid*>(auth.arcs);
  session.securityAuthProtoLen = auth.length;
  session.securityAuthKeyLen = USM_AUTH_KU_LEN;
  auto* phrase = reinterpret_cast<u_char*>(const_cast<char*>(user.authPass.c_str()));
  if (generate_Ku(auth.arcs, auth.length, phrase, user.authPass.size(), session.securityAuthKey,
                  &session.securityAuthKeyLen) != SNMPERR_SUCCESS) {
    throw std::runtime_error("cannot make the key of user " + user.name);
  }
  if (user.priv.empty()) return;
  const Protocol& priv = Named(kPrivProtocols, user.priv);
  session.securityPrivProto = const_cast<oid*>(priv.arcs);
  session.securityPrivProtoLen = priv.length;
  session.securityPrivKeyLen = USM_PRIV_KU_LEN;
  phrase = reinterpret_cast<u_char*>(const_cast<char*>(user.privPass.c_str()));
  if (generate_Ku(auth.arcs, auth.length, phrase, user.privPass.size(), session.securityPrivKey,
                  &session.securityPrivKeyLen) != SNMPERR_SUCCESS) {
    throw std::runtime_error("cannot make the privacy key of user " + user.name);
  }
}

netsnmp_session* OpenSession(const NotifyTarget& target, const NotifySettings& settings,
                             std::string source) {
  netsnmp_session session;
  snmp_sess_init(&session);
  std::string peer = "udp:" + target.Text();
  session.peername = peer.data();
  if (!source.empty()) session.localname = source.data();
  session.timeout = static_cast<long>(settings.timeoutMilliseconds) * 1000;
  session.retries = settings.retries;
  if (settings.user) {
    session.version = SNMP_VERSION_3;
    SetUser(session, *settings.user);
    // The engine id is discovered at the first inform, not here.
    session.flags |= SNMP_FLAGS_DONT_PROBE;
  } else {
    session.version = SNMP_VERSION_2c;
    session.community = reinterpret_cast<u_char*>(const_cast<char*>(settings.community.c_str()));
    session.community_len = settings.community.size();
  }
  netsnmp_session* opened = snmp_open(&session);
  if (!opened) throw std::runtime_error("--notify: cannot send to " + target.Text());
  return opened;
}

void AddArcs(netsnmp_pdu* pdu, const oid* name, size_t length, u_char type, const void* value,
             size_t size) {
  snmp_pdu_add_variable(pdu, name, length, type, value, size);
}

void AddObject(netsnmp_pdu* pdu, protocol::AlarmObject object, u_char type, const void* value,
               size_t size) {
  const std::vector<uint32_t> arcs = protocol::AlarmObjectArcs(object);
  const std::vector<oid> name(arcs.begin(), arcs.end());
  AddArcs(pdu, name.data(), name.size(), type, value, size);
}

struct TextObject {
  protocol::AlarmObject object;
  std::string (*text)(const AlarmChange& change);
};
const TextObject kTextObjects[] = {
    {protocol::AlarmObject::CardIp, [](const AlarmChange& c) { return c.ip; }},
    {protocol::AlarmObject::Card, [](const AlarmChange& c) { return c.card; }},
    {protocol::AlarmObject::Port, [](const AlarmChange& c) { return std::string(1, c.port); }},
    {protocol::AlarmObject::Name, [](const AlarmChange& c) { return c.alarm; }},
};

// sysUpTime.0, snmpTrapOID.0, then the change's objects.
netsnmp_pdu* NotificationPdu(const AlarmChange& change, bool inform) {
  netsnmp_pdu* pdu = snmp_pdu_create(inform ? SNMP_MSG_INFORM : SNMP_MSG_TRAP2);
  const u_long upTime = netsnmp_get_agent_uptime();
  AddArcs(pdu, kSysUpTime, OID_LENGTH(kSysUpTime), ASN_TIMETICKS, &upTime, sizeof upTime);
  const std::vector<uint32_t> trapArcs = protocol::AlarmChangeArcs();
  const std::vector<oid> trap(trapArcs.begin(), trapArcs.end());
  AddArcs(pdu, kSnmpTrapOid, OID_LENGTH(kSnmpTrapOid), ASN_OBJECT_ID, trap.data(),
          trap.size() * sizeof(oid));
  for (const TextObject& entry : kTextObjects) {
    const std::string text = entry.text(change);
    AddObject(pdu, entry.object, ASN_OCTET_STR, text.data(), text.size());
  }
  const long state = change.raised ? protocol::kAlarmRaised : protocol::kAlarmCleared;
  AddObject(pdu, protocol::AlarmObject::State, ASN_INTEGER, &state, sizeof state);
  const u_long time = static_cast<u_long>(change.cardTime);
  AddObject(pdu, protocol::AlarmObject::Time, ASN_UNSIGNED, &time, sizeof time);
  return pdu;
}

void DrainQueue(int, void* notifier) {
  static_cast<Notifier*>(notifier)->SendWaiting();
}

int InformAnswered(int operation, netsnmp_session*, int, netsnmp_pdu* pdu, void* magic) {
  auto* target = static_cast<std::pair<Notifier*, NotifyTarget>*>(magic);
  if (operation == NETSNMP_CALLBACK_OP_TIMED_OUT) {
    target->first->Dropped(target->second, "not acknowledged after its retries");
  } else if (operation == NETSNMP_CALLBACK_OP_SEND_FAILED) {
    target->first->Dropped(target->second, "could not be sent");
  } else if (operation == NETSNMP_CALLBACK_OP_SEC_ERROR) {
    target->first->Dropped(target->second, "failed the security check");
  } else if (operation == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu &&
             pdu->command == SNMP_MSG_REPORT) {
    target->first->Dropped(target->second, "refused with a report");
  }
  return 1;
}

}  // namespace

Notifier::Notifier(const NotifySettings& settings, NotificationQueue& queue, std::ostream& log)
    : settings_(settings), queue_(queue), log_(log) {
  try {
    if (settings_.agentOf.empty()) OpenFrom("");
    for (const auto& [cardIp, agent] : settings_.agentOf) OpenFrom(agent);
  } catch (...) {
    CloseAll();
    throw;
  }
  register_readfd(queue_.Descriptor(), DrainQueue, this);
}

Notifier::~Notifier() {
  unregister_readfd(queue_.Descriptor());
  CloseAll();
}

void Notifier::CloseAll() {
  for (auto& [source, targets] : targets_) {
    for (Target& target : targets) snmp_close(target.session);
  }
  targets_.clear();
}

void Notifier::SendWaiting() {
  for (const AlarmChange& change : queue_.TakeAll()) {
    for (Target& target : TargetsFrom(change.ip)) Send(target, change);
  }
}

void Notifier::OpenFrom(const std::string& source) {
  std::vector<Target>& targets = targets_[source];
  if (!targets.empty()) return;
  targets.reserve(settings_.targets.size());
  for (const NotifyTarget& where : settings_.targets) {
    targets.push_back({{this, where}, OpenSession(where, settings_, source)});
  }
}

std::vector<Notifier::Target>& Notifier::TargetsFrom(const std::string& cardIp) {
  const auto agent = settings_.agentOf.find(cardIp);
  const auto found =
      agent == settings_.agentOf.end() ? targets_.end() : targets_.find(agent->second);
  return found == targets_.end() ? targets_.begin()->second : found->second;
}

void Notifier::Send(Target& target, const AlarmChange& change) {
  const bool inform = settings_.user.has_value();
  netsnmp_pdu* pdu = NotificationPdu(change, inform);
  // A send that fails may have told the inform's callback already.
  const uint64_t droppedBefore = dropped_;
  const int sent = inform ? snmp_async_send(target.session, pdu, InformAnswered, &target.whom)
                          : snmp_send(target.session, pdu);
  if (sent != 0) return;
  snmp_free_pdu(pdu);
  if (inform) {
    if (dropped_ == droppedBefore) Dropped(target.whom.second, "could not be sent");
  } else {
    log_ << "t740-sim: a trap to " << target.whom.second.Text() << " could not be sent"
         << std::endl;
  }
}

void Notifier::Dropped(const NotifyTarget& target, const char* why) {
  ++dropped_;
  log_ << "t740-sim: an inform to " << target.Text() << " " << why << ", dropped; " << dropped_
       << " dropped in all" << std::endl;
}

}  // namespace t740::sim
