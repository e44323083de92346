#include "hosting/transport/snmp_status_texts.h"

#include "hosting/text/oid_text.h"
#include "protocol/card_mib.h"

namespace t740::host {

StatusTextsAnswer FetchStatusTexts(SnmpSessions& sessions, std::string_view cardAddress,
                                   SnmpTries tries) {
  using protocol::StatusKind;
  std::vector<std::vector<uint32_t>> names;
  for (StatusKind kind : {StatusKind::Alarm, StatusKind::Led, StatusKind::Performance}) {
    const std::string oid = protocol::StatusOidText(cardAddress, kind);
    const OidArcs arcs = ParseOidText(oid);
    if (!arcs) {
      StatusTextsAnswer refused;
      refused.answer.why = oid + " is no identifier: " + arcs.error;
      return refused;
    }
    names.push_back(arcs.arcs);
  }
  StatusTextsAnswer fetched{SnmpGet(sessions, names, tries), {}};
  if (fetched.answer.ok) {
    fetched.texts = {fetched.answer.octets[0], fetched.answer.octets[1], fetched.answer.octets[2]};
  }
  return fetched;
}

}  // namespace t740::host
