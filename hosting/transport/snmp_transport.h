// The card reached over SNMP (v2c, or v3 with a USM user), as a host manages real cards: a read is
// a GET of the identifier, whose OCTET STRING comes back as upper-case hex text; a write is a SET
// of the value's octets, whose success leaves exactly "1" in the response. A failed read leaves the
// response empty, a failed write leaves it as the plug-in preset it; with --trace the host says why
// on its error stream. Status texts are GETs of the card's status objects, their octets taken as
// text.
#ifndef T740_HOSTING_TRANSPORT_SNMP_TRANSPORT_H
#define T740_HOSTING_TRANSPORT_SNMP_TRANSPORT_H

#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "hosting/transport/snmp_exchange.h"
#include "hosting/transport/snmp_sessions.h"
#include "hosting/transport/transport.h"

namespace t740::host {

class SnmpTransport : public Transport {
 public:
  // Starts net-snmp: construct it in the main thread. Throws UsageError
  // without an agent address, for SNMPv3 options that do not give a user
  // and its pass phrases, std::runtime_error when net-snmp fails.
  SnmpTransport(const HostOptions& options, std::ostream& trace);

  std::string Description() const override;
  int Request(int operation, const CText& ip, const CText& oid, const CText& one,
              const CText& value, CText* response) override;
  std::string FetchStatus(StatusText text, std::string_view ip,
                          std::string_view cardAddress) override;

 private:
  int Read(std::string_view oid, CText* response);
  int Write(std::string_view oid, std::string_view value, CText* response);
  void Trace(const std::string& what, std::string_view oid, const std::string& why);

  const std::string agent_;
  const std::optional<UsmUser> user_;  // SNMPv3 when set
  const SnmpTries tries_;
  const bool tracing_;
  std::ostream& trace_;
  std::mutex traceMutex_;
  SnmpSessions readSessions_;
  SnmpSessions writeSessions_;
};

}  // namespace t740::host

#endif
