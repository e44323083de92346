#include "alerter/notifications/usm_message_header.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

namespace t740::alerter {
namespace {

constexpr u_char kSequence = ASN_SEQUENCE | ASN_CONSTRUCTOR;
// RFC 3411: an engine id is at most 32 octets, a security name 32 too;
// the buffers allow the library's own bounds.
constexpr size_t kEngineIdBuffer = 64;
constexpr size_t kNameBuffer = 256;

// A reader over one ASN.1 sequence's contents. The library's parsers take
// non-const pointers but do not write through them.
class Reader {
 public:
  Reader(const u_char* at, size_t left) : at_(const_cast<u_char*>(at)), left_(left) {}

  bool Ok() const { return at_ != nullptr; }

  long Integer() {
    long value = 0;
    u_char type = 0;
    if (at_) at_ = asn_parse_int(at_, &left_, &type, &value, sizeof value);
    if (at_ && type != ASN_INTEGER) at_ = nullptr;
    return value;
  }

  std::string Octets(size_t bound) {
    u_char buffer[kNameBuffer];
    size_t length = bound;
    u_char type = 0;
    if (at_) at_ = asn_parse_string(at_, &left_, &type, buffer, &length);
    if (!at_ || type != ASN_OCTET_STR) {
      at_ = nullptr;
      return "";
    }
    return std::string(reinterpret_cast<const char*>(buffer), length);
  }

  // The contents of the next object when of `expected` type; the reader
  // moves past it.
  Reader Enter(u_char expected) {
    if (!at_) return Reader(nullptr, 0);
    size_t length = left_;
    u_char type = 0;
    u_char* inside = asn_parse_header(at_, &length, &type);
    if (!inside || type != expected || length > left_ - static_cast<size_t>(inside - at_)) {
      at_ = nullptr;
      return Reader(nullptr, 0);
    }
    left_ -= static_cast<size_t>(inside - at_) + length;
    at_ = inside + length;
    return Reader(inside, length);
  }

 private:
  u_char* at_;
  size_t left_;
};

}  // namespace

std::optional<UsmMessageHeader> UsmMessageHeaderOf(const unsigned char* data, size_t size) {
  Reader outer(data, size);
  Reader message = outer.Enter(kSequence);
  if (message.Integer() != SNMP_VERSION_3) return std::nullopt;
  Reader global = message.Enter(kSequence);
  global.Integer();  // msgID
  global.Integer();  // msgMaxSize
  global.Octets(1);  // msgFlags
  if (global.Integer() != SNMP_SEC_MODEL_USM || !global.Ok()) return std::nullopt;
  Reader parameters = message.Enter(ASN_OCTET_STR).Enter(kSequence);
  UsmMessageHeader header;
  header.engineId = parameters.Octets(kEngineIdBuffer);
  parameters.Integer();  // msgAuthoritativeEngineBoots
  parameters.Integer();  // msgAuthoritativeEngineTime
  header.userName = parameters.Octets(kNameBuffer);
  if (!parameters.Ok()) return std::nullopt;
  return header;
}

}  // namespace t740::alerter
