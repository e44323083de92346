#include "sim/agent/card_handler.h"

// net-snmp's headers need its configuration header first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <net-snmp/agent/net-snmp-agent-includes.h>

#include <netinet/in.h>

#include <stdexcept>
#include <string_view>
#include <vector>

#include "protocol/card_mib.h"

namespace t740::sim {
namespace {

constexpr char kHandlerName[] = "t740-card";

struct SetError {
  SetStatus status;
  int error;
};

constexpr SetError kSetErrors[] = {
    {SetStatus::Ok, SNMP_ERR_NOERROR},
    {SetStatus::NotWritable, SNMP_ERR_NOTWRITABLE},
    {SetStatus::NoCreation, SNMP_ERR_NOCREATION},
    {SetStatus::WrongType, SNMP_ERR_WRONGTYPE},
    {SetStatus::WrongLength, SNMP_ERR_WRONGLENGTH},
    {SetStatus::WrongValue, SNMP_ERR_WRONGVALUE},
    {SetStatus::CommitFailed, SNMP_ERR_COMMITFAILED},
};

int ErrorOf(SetStatus status) {
  for (const SetError& entry : kSetErrors) {
    if (entry.status == status) return entry.error;
  }
  return SNMP_ERR_GENERR;
}

// Names past 32 bits per arc are no names of the card's.
Arcs ArcsOf(const oid* name, size_t length) {
  Arcs arcs;
  for (size_t i = 0; i < length; ++i) {
    arcs.push_back(name[i] > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(name[i]));
  }
  return arcs;
}

std::string_view OctetsOf(const netsnmp_variable_list* variable) {
  return {reinterpret_cast<const char*>(variable->val.string), variable->val_len};
}

void SetOctets(netsnmp_variable_list* variable, const std::string& value) {
  snmp_set_var_typed_value(variable, ASN_OCTET_STR, value.data(), value.size());
}

void AnswerGet(Shelf& objects, netsnmp_agent_request_info* info, netsnmp_request_info* request) {
  netsnmp_variable_list* variable = request->requestvb;
  const auto value = objects.Get(ArcsOf(variable->name, variable->name_length));
  if (value) {
    SetOctets(variable, *value);
  } else {
    netsnmp_set_request_error(info, request, SNMP_NOSUCHOBJECT);
  }
}

// Past the card's last object the variable stays as it came, and the agent
// goes on to whatever follows the subtree.
void AnswerGetNext(Shelf& objects, netsnmp_request_info* request) {
  netsnmp_variable_list* variable = request->requestvb;
  const auto next = objects.Next(ArcsOf(variable->name, variable->name_length));
  if (!next) return;
  const std::vector<oid> name(next->first.begin(), next->first.end());
  snmp_set_var_objid(variable, name.data(), name.size());
  SetOctets(variable, next->second);
}

void Reserve(Shelf& objects, netsnmp_agent_request_info* info, netsnmp_request_info* request) {
  const netsnmp_variable_list* variable = request->requestvb;
  const SetStatus status = objects.Check(ArcsOf(variable->name, variable->name_length),
                                         variable->type == ASN_OCTET_STR, OctetsOf(variable));
  if (status != SetStatus::Ok) netsnmp_set_request_error(info, request, ErrorOf(status));
}

void Act(Shelf& objects, netsnmp_agent_request_info* info, netsnmp_request_info* request) {
  const netsnmp_variable_list* variable = request->requestvb;
  const SetStatus status =
      objects.Apply(ArcsOf(variable->name, variable->name_length), OctetsOf(variable));
  if (status != SetStatus::Ok) netsnmp_set_request_error(info, request, ErrorOf(status));
}

// The shelf behind the address the request came to, from the request's
// transport data; null for an address that no shelf listens on.
Shelf* ShelfOf(const ShelvesByAddress& shelves, const netsnmp_agent_request_info* info) {
  const netsnmp_pdu* pdu = info->asp ? info->asp->pdu : nullptr;
  if (!pdu || !pdu->transport_data ||
      pdu->transport_data_length < static_cast<int>(sizeof(netsnmp_indexed_addr_pair))) {
    return nullptr;
  }
  const auto* pair = static_cast<const netsnmp_indexed_addr_pair*>(pdu->transport_data);
  const auto shelf = shelves.find(ntohl(pair->local_addr.sin.sin_addr.s_addr));
  return shelf == shelves.end() ? nullptr : shelf->second;
}

// A request to no shelf finds no object; GETNEXT passes over the subtree.
void AnswerWithoutShelf(netsnmp_agent_request_info* info, netsnmp_request_info* requests) {
  for (netsnmp_request_info* request = requests; request; request = request->next) {
    if (request->processed) continue;
    if (info->mode == MODE_GET) netsnmp_set_request_error(info, request, SNMP_NOSUCHOBJECT);
    if (info->mode == MODE_SET_RESERVE1) {
      netsnmp_set_request_error(info, request, SNMP_ERR_NOCREATION);
    }
  }
}

int HandleCard(netsnmp_mib_handler* handler, netsnmp_handler_registration*,
               netsnmp_agent_request_info* info, netsnmp_request_info* requests) {
  Shelf* shelf = ShelfOf(*static_cast<const ShelvesByAddress*>(handler->myvoid), info);
  if (!shelf) {
    AnswerWithoutShelf(info, requests);
    return SNMP_ERR_NOERROR;
  }
  Shelf& objects = *shelf;
  for (netsnmp_request_info* request = requests; request; request = request->next) {
    if (request->processed) continue;
    switch (info->mode) {
      case MODE_GET:
        AnswerGet(objects, info, request);
        break;
      case MODE_GETNEXT:
        AnswerGetNext(objects, request);
        break;
      case MODE_SET_RESERVE1:
        Reserve(objects, info, request);
        break;
      case MODE_SET_ACTION:
        Act(objects, info, request);
        break;
      case MODE_SET_UNDO:
        objects.Undo();
        break;
      case MODE_SET_COMMIT:
      case MODE_SET_FREE:
        objects.Commit();
        break;
      default:
        break;
    }
  }
  return SNMP_ERR_NOERROR;
}

}  // namespace

void RegisterCardHandler(const ShelvesByAddress& shelves) {
  const Arcs subtree = protocol::CardSubtreeArcs();
  const std::vector<oid> name(subtree.begin(), subtree.end());
  netsnmp_handler_registration* registration = netsnmp_create_handler_registration(
      kHandlerName, HandleCard, name.data(), name.size(), HANDLER_CAN_RWRITE);
  if (!registration) throw std::runtime_error("cannot create the card's handler");
  registration->handler->myvoid = const_cast<ShelvesByAddress*>(&shelves);
  if (netsnmp_register_handler(registration) != MIB_REGISTERED_OK) {
    throw std::runtime_error("cannot register the card's subtree with the agent");
  }
}

}  // namespace t740::sim
