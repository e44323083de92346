#include "monitoring/probe/card_prober.h"

#include <chrono>

#include "hosting/status/status_decoder.h"

namespace t740::monitoring {
namespace {

host::SnmpPeer PeerOf(const ProbeTarget& target, const Auth& auth) {
  return {"udp:" + target.address + ":" + std::to_string(target.port), auth.community, auth.user};
}

}  // namespace

ProbeResult DecodeStatusTexts(const host::PluginExports& exports, const host::StatusTexts& texts) {
  ProbeResult result;
  try {
    result.status.alarms = host::DecodeAlarms(exports, texts.alarm);
    result.status.performance = host::DecodePerformance(exports, texts.performance);
    result.up = true;
  } catch (const host::StatusRejected& error) {
    result.reason = error.what();
  }
  return result;
}

ProbeResult ProbeCard(const host::PluginExports& exports, SessionPool& sessions,
                      const ProbeTarget& target, const Auth& auth, SnmpTries tries) {
  const auto start = std::chrono::steady_clock::now();
  ProbeResult result;
  const host::StatusTextsAnswer fetched = host::FetchStatusTexts(
      *sessions.For(PeerOf(target, auth)), target.card, {tries.timeoutMilliseconds, tries.retries});
  if (fetched.answer.ok) {
    result = DecodeStatusTexts(exports, fetched.texts);
  } else {
    result.reason = fetched.answer.why;
    result.snmpTimedOut = fetched.answer.timedOut;
  }
  result.snmpRequests = fetched.answer.requests;
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

}  // namespace t740::monitoring
