// Raw SNMPv2c packets for the network benchmarks, built once and sent over
// plain UDP, so that the client costs next to nothing beside the agents: a
// GET of one card's three status texts, and the check of its answer.
#ifndef T740_BENCH_SNMP_PACKETS_H
#define T740_BENCH_SNMP_PACKETS_H

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace t740::bench {

using Bytes = std::vector<uint8_t>;

// GET of the three status texts of card `card` (e.g. 103: arcs 1 and 3),
// community "public".
Bytes StatusRequest(int card, uint32_t requestId);

// A response with error status 0 and three OCTET STRING values.
bool AnsweredWithTexts(const uint8_t* data, size_t size);

sockaddr_in Address(const std::string& ip, uint16_t port);

// The address of agent `index` (from 0) of a t740-sim network: 127.0.0.1 up.
std::string AgentIp(int index);

}  // namespace t740::bench

#endif
