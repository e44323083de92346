#include "snmp_packets.h"

#include <arpa/inet.h>

#include <cstdint>

namespace t740::bench {
namespace {

Bytes Tlv(uint8_t tag, const Bytes& value) {
  Bytes out{tag};
  if (value.size() < 0x80) {
    out.push_back(static_cast<uint8_t>(value.size()));
  } else {
    out.push_back(0x82);
    out.push_back(static_cast<uint8_t>(value.size() >> 8));
    out.push_back(static_cast<uint8_t>(value.size()));
  }
  out.insert(out.end(), value.begin(), value.end());
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Oid(const std::vector<uint32_t>& arcs) {
  Bytes body{static_cast<uint8_t>(arcs[0] * 40 + arcs[1])};
  for (size_t i = 2; i < arcs.size(); ++i) {
    Bytes arc;
    for (uint32_t v = arcs[i];; v >>= 7) {
      arc.insert(arc.begin(), static_cast<uint8_t>((v & 0x7F) | (arc.empty() ? 0 : 0x80)));
      if (v < 0x80) break;
    }
    body.insert(body.end(), arc.begin(), arc.end());
  }
  return Tlv(0x06, body);
}

// A header's content length at `at` (just past the tag); moves `at` past it.
size_t Length(const uint8_t* data, size_t size, size_t& at) {
  if (at >= size) return SIZE_MAX;
  const uint8_t first = data[at++];
  if (first < 0x80) return first;
  size_t length = 0;
  for (int i = 0; i < (first & 0x7F); ++i) {
    if (at >= size) return SIZE_MAX;
    length = length << 8 | data[at++];
  }
  return length;
}

}  // namespace

Bytes StatusRequest(int card, uint32_t requestId) {
  Bytes bindings;
  for (uint32_t text = 1; text <= 3; ++text) {
    const Bytes name = Oid({1, 3, 6, 1, 4, 1, 47291, 2, 1, 1, 86, static_cast<uint32_t>(card / 100),
                            static_cast<uint32_t>(card % 100), text});
    bindings = Join({bindings, Tlv(0x30, Join({name, Bytes{0x05, 0x00}}))});
  }
  const Bytes id = {0x02,
                    0x04,
                    static_cast<uint8_t>(requestId >> 24),
                    static_cast<uint8_t>(requestId >> 16),
                    static_cast<uint8_t>(requestId >> 8),
                    static_cast<uint8_t>(requestId)};
  const Bytes pdu =
      Tlv(0xA0, Join({id, Bytes{0x02, 0x01, 0x00, 0x02, 0x01, 0x00}, Tlv(0x30, bindings)}));
  return Tlv(0x30,
             Join({Bytes{0x02, 0x01, 0x01}, Tlv(0x04, Bytes{'p', 'u', 'b', 'l', 'i', 'c'}), pdu}));
}

bool AnsweredWithTexts(const uint8_t* data, size_t size) {
  size_t at = 0;
  auto enter = [&](uint8_t tag) {
    if (at >= size || data[at++] != tag) return false;
    return Length(data, size, at) != SIZE_MAX;
  };
  auto skip = [&](uint8_t tag) {
    if (at >= size || data[at++] != tag) return false;
    const size_t length = Length(data, size, at);
    if (length == SIZE_MAX) return false;
    at += length;
    return at <= size;
  };
  if (!enter(0x30) || !skip(0x02) || !skip(0x04) || !enter(0xA2) || !skip(0x02)) return false;
  if (at + 3 > size || data[at] != 0x02 || data[at + 1] != 0x01 || data[at + 2] != 0) return false;
  at += 3;
  if (!skip(0x02) || !enter(0x30)) return false;
  for (int i = 0; i < 3; ++i) {
    if (!enter(0x30) || !skip(0x06) || !skip(0x04)) return false;
  }
  return true;
}

sockaddr_in Address(const std::string& ip, uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
  return address;
}

std::string AgentIp(int index) {
  const uint32_t host = 0x7F000001u + static_cast<uint32_t>(index);
  return std::to_string(host >> 24) + "." + std::to_string(host >> 16 & 0xFF) + "." +
         std::to_string(host >> 8 & 0xFF) + "." + std::to_string(host & 0xFF);
}

}  // namespace t740::bench
