#include "alerter/notifications/notification_session.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/library/large_fd_set.h>
#include <net-snmp/library/lcd_time.h>
#include <net-snmp/net-snmp-includes.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <mutex>
#include <optional>
#include <stdexcept>
#include <variant>

#include "alerter/notifications/usm_message_header.h"
#include "hosting/transport/snmp_library.h"

namespace t740::alerter {
namespace {

// RFC 3411's bounds of an SnmpEngineID.
constexpr size_t kEngineIdShortest = 5;
constexpr size_t kEngineIdLongest = 32;

struct ParseOutcome {
  int error;
  NotificationOutcome outcome;
};
// What the library's checks refused, by its error; anything else is
// malformed.
constexpr ParseOutcome kParseOutcomes[] = {
    {SNMPERR_USM_UNKNOWNSECURITYNAME, NotificationOutcome::UnknownUser},
    {SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL, NotificationOutcome::WrongLevel},
    {SNMPERR_USM_AUTHENTICATIONFAILURE, NotificationOutcome::BadDigest},
    {SNMPERR_USM_DECRYPTIONERROR, NotificationOutcome::Undecryptable},
    {SNMPERR_USM_NOTINTIMEWINDOW, NotificationOutcome::NotInTimeWindow},
    {SNMPERR_USM_UNKNOWNENGINEID, NotificationOutcome::UnknownEngine},
    {SNMPERR_JUST_A_CONTEXT_PROBE, NotificationOutcome::UnknownEngine},
};

NotificationOutcome OutcomeOfParse(int error) {
  for (const ParseOutcome& entry : kParseOutcomes) {
    if (entry.error == error) return entry.outcome;
  }
  return NotificationOutcome::Malformed;
}

// The library's security level of each of ours, in their order.
constexpr int kLevels[] = {SNMP_SEC_LEVEL_NOAUTH, SNMP_SEC_LEVEL_AUTHNOPRIV,
                           SNMP_SEC_LEVEL_AUTHPRIV};

int LevelOf(host::SecurityLevel level) {
  return kLevels[static_cast<int>(level)];
}

int ParseHook(netsnmp_session* session, netsnmp_pdu* pdu, u_char* data, size_t length) {
  return static_cast<NotificationSession*>(session->callback_magic)
      ->Parse(session, pdu, data, length);
}

int ReceivedHook(int operation, netsnmp_session* session, int, netsnmp_pdu* pdu, void* magic) {
  // A message that failed authentication reaches the callback too, its
  // error set; Parse has counted it.
  if (operation == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu && session->s_snmp_errno == 0) {
    static_cast<NotificationSession*>(magic)->Received(session, pdu);
  }
  return 1;
}

std::string LocalEngineId() {
  u_char id[kEngineIdLongest * 2];
  const size_t length = snmpv3_get_engineID(id, sizeof id);
  return std::string(reinterpret_cast<const char*>(id), length);
}

void SetEngineId(const std::string& engineId) {
  if (engineId.empty()) return;
  if (engineId.size() < kEngineIdShortest || engineId.size() > kEngineIdLongest) {
    throw std::invalid_argument("an SNMP engine id has 5 to 32 octets");
  }
  if (set_exact_engineID(reinterpret_cast<const u_char*>(engineId.data()), engineId.size()) !=
      SNMPERR_SUCCESS) {
    throw std::runtime_error("net-snmp refused the engine id");
  }
}

constexpr int kReceiveBufferBytes = 4 << 20;

netsnmp_transport* OpenTransport(const std::string& listen) {
  const std::string address = "udp:" + listen;
  netsnmp_transport* transport = netsnmp_transport_open_server("snmptrap", address.c_str());
  if (!transport) throw std::runtime_error("cannot listen for notifications on " + listen);
  // A storm (a shelf's every fibre at once) arrives faster than the cues
  // are read; the default buffer (about 200 notifications) would drop the
  // rest, and a card whose notifications were all dropped is not probed.
  // The kernel holds this to net.core.rmem_max.
  const int buffer = kReceiveBufferBytes;
  setsockopt(transport->sock, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
  return transport;
}

uint16_t PortOf(int socket) {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) return 0;
  if (address.ss_family == AF_INET6) {
    return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
  }
  return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
}

// The sender's IP address as the UDP transport noted it.
std::string SourceOf(const netsnmp_pdu& pdu) {
  if (!pdu.transport_data || pdu.transport_data_length < int{sizeof(netsnmp_indexed_addr_pair)}) {
    return "";
  }
  const auto& pair = *static_cast<const netsnmp_indexed_addr_pair*>(pdu.transport_data);
  char text[INET6_ADDRSTRLEN] = "";
  if (pair.remote_addr.sa.sa_family == AF_INET) {
    inet_ntop(AF_INET, &pair.remote_addr.sin.sin_addr, text, sizeof text);
  } else if (pair.remote_addr.sa.sa_family == AF_INET6) {
    inet_ntop(AF_INET6, &pair.remote_addr.sin6.sin6_addr, text, sizeof text);
  }
  return text;
}

bool IsNotification(const netsnmp_pdu& pdu) {
  return pdu.command == SNMP_MSG_TRAP2 || pdu.command == SNMP_MSG_INFORM;
}

bool EngineTimeKnown(const std::string& engineId) {
  u_int boots = 0;
  u_int time = 0;
  return get_enginetime(reinterpret_cast<const u_char*>(engineId.data()),
                        static_cast<u_int>(engineId.size()), &boots, &time,
                        TRUE) == SNMPERR_SUCCESS;
}

}  // namespace

NotificationSession::NotificationSession(const ReceiverSettings& settings,
                                         NotificationCounts& counts)
    : communities_(settings.communities), counts_(counts) {
  host::StartSnmpLibrary();
  for (const host::UsmUser& user : settings.users) {
    users_.push_back({user, host::MakeUsmMasterKeys(user), {}});
  }
  std::lock_guard<std::timed_mutex> v3(host::SnmpV3Mutex());
  std::lock_guard<std::mutex> library(host::SnmpLibraryMutex());
  SetEngineId(settings.engineId);
  engineId_ = LocalEngineId();
  for (User& user : users_) {
    user.local = host::LocalizeUsmKeys(user.user, user.master, engineId_);
    host::InstallUsmUser(user.user, user.local);
  }
  netsnmp_transport* transport = OpenTransport(settings.listen);
  netsnmp_session session;
  snmp_sess_init(&session);
  session.peername = nullptr;
  session.version = SNMP_DEFAULT_VERSION;  // v2c and v3 alike
  session.callback = ReceivedHook;
  session.callback_magic = this;
  session.isAuthoritative = SNMP_SESS_UNKNOWNAUTH;  // informs to us, traps from their senders
  socket_ = transport->sock;
  handle_ = snmp_sess_add_ex(&session, transport, nullptr, ParseHook, nullptr, nullptr, nullptr,
                             nullptr, nullptr);
  if (!handle_) throw std::runtime_error("cannot listen for notifications on " + settings.listen);
  port_ = PortOf(socket_);
}

NotificationSession::~NotificationSession() {
  std::lock_guard<std::timed_mutex> v3(host::SnmpV3Mutex());
  std::lock_guard<std::mutex> library(host::SnmpLibraryMutex());
  snmp_sess_close(handle_);
  for (const User& user : users_) host::RemoveUsmUser(engineId_, user.user.name);
}

std::vector<AlarmCue> NotificationSession::ReadWaiting() {
  std::lock_guard<std::timed_mutex> v3(host::SnmpV3Mutex());
  std::lock_guard<std::mutex> library(host::SnmpLibraryMutex());
  readAt_ = std::chrono::steady_clock::now();
  netsnmp_large_fd_set readable;
  netsnmp_large_fd_set_init(&readable, socket_ + 1);
  NETSNMP_LARGE_FD_SET(socket_, &readable);
  snmp_sess_read2(handle_, &readable);
  netsnmp_large_fd_set_cleanup(&readable);
  std::vector<AlarmCue> cues;
  cues.swap(accepted_);
  return cues;
}

const NotificationSession::User* NotificationSession::UserNamed(const std::string& name) const {
  for (const User& user : users_) {
    if (user.user.name == name) return &user;
  }
  return nullptr;
}

// Past the library's checks: whether the community or user is ours, at
// the user's level, and the message a notification.
NotificationOutcome NotificationSession::Judge(const netsnmp_pdu& pdu) const {
  if (pdu.version == SNMP_VERSION_1) return NotificationOutcome::UnsupportedVersion;
  if (pdu.version == SNMP_VERSION_2c) {
    const std::string community(reinterpret_cast<const char*>(pdu.community), pdu.community_len);
    if (!pdu.community || communities_.count(community) == 0) {
      return NotificationOutcome::BadCommunity;
    }
  } else {
    const std::string name(pdu.securityName ? pdu.securityName : "", pdu.securityNameLen);
    const User* user = UserNamed(name);
    // Another part of the process may have left its own user of that name.
    if (!user) return NotificationOutcome::UnknownUser;
    if (pdu.securityLevel < LevelOf(user->user.level)) return NotificationOutcome::WrongLevel;
  }
  return IsNotification(pdu) ? NotificationOutcome::Accepted
                             : NotificationOutcome::NotANotification;
}

int NotificationSession::Parse(netsnmp_session* session, netsnmp_pdu* pdu, u_char* data,
                               size_t length) {
  const std::optional<UsmMessageHeader> header = UsmMessageHeaderOf(data, length);
  const User* user = header ? UserNamed(header->userName) : nullptr;
  const bool visiting = user && header->engineId != engineId_;
  const bool engineKnown = !header || EngineTimeKnown(header->engineId);
  try {
    // A trap is signed with keys localised to its sender's engine.
    if (visiting) {
      host::InstallUsmUser(user->user,
                           host::LocalizeUsmKeys(user->user, user->master, header->engineId));
    } else if (user) {
      host::InstallUsmUser(user->user, user->local);
    }
  } catch (const std::exception&) {
    // Without the keys the library refuses the message as of an unknown user.
  }
  int result = snmp_parse(static_cast<session_list*>(handle_), session, pdu, data, length);
  if (visiting) host::RemoveUsmUser(header->engineId, user->user.name);
  // The library keeps the time of every engine a message named; only
  // those of accepted senders stay.
  if (result != SNMPERR_SUCCESS && !engineKnown) host::ForgetEngineTime(header->engineId);
  if (result != SNMPERR_SUCCESS) {
    counts_.Add(OutcomeOfParse(result));
    return result;
  }
  const NotificationOutcome outcome = Judge(*pdu);
  if (outcome == NotificationOutcome::Accepted) return SNMPERR_SUCCESS;
  counts_.Add(outcome);
  return SNMPERR_AUTHENTICATION_FAILURE;
}

void NotificationSession::Received(netsnmp_session*, netsnmp_pdu* pdu) {
  auto cue = AlarmCueOf(pdu->variables, SourceOf(*pdu), readAt_);
  if (!std::holds_alternative<AlarmCue>(cue)) {
    counts_.Add(NotificationOutcome::NotACardAlarm);
    return;
  }
  counts_.Add(NotificationOutcome::Accepted);
  if (pdu->command == SNMP_MSG_INFORM) Acknowledge(pdu);
  accepted_.push_back(std::move(std::get<AlarmCue>(cue)));
}

void NotificationSession::Acknowledge(netsnmp_pdu* inform) {
  netsnmp_pdu* reply = snmp_clone_pdu(inform);
  if (!reply) return;
  reply->command = SNMP_MSG_RESPONSE;
  reply->errstat = 0;
  reply->errindex = 0;
  if (snmp_sess_send(handle_, reply) == 0) snmp_free_pdu(reply);
}

}  // namespace t740::alerter
