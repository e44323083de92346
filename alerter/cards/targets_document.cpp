#include "alerter/cards/targets_document.h"

#include <map>

#include "alerter/json/json_value.h"

namespace t740::alerter {
namespace {

using Kind = JsonValue::Kind;

CardTarget TargetOf(const std::string& target, const std::string& card, const std::string& auth,
                    const std::string& where) {
  std::multimap<std::string, std::string> parameters{{"target", target}, {"card", card}};
  if (!auth.empty()) parameters.emplace("auth", auth);
  const monitoring::ProbeQuery query = monitoring::ParseProbeQuery(parameters);
  if (!query.target) throw TargetsError(where + ": " + query.error);
  CardTarget parsed{*query.target, ""};
  parsed.instance = parsed.probe.address + ":" + std::to_string(parsed.probe.port);
  return parsed;
}

std::string LabelOf(const JsonValue& group, const char* name, const std::string& where) {
  const JsonValue* labels = group.OptionalMember("labels", Kind::kObject);
  const JsonValue* label = labels ? labels->OptionalMember(name, Kind::kString) : nullptr;
  if (!label && std::string(name) == "card") throw TargetsError(where + ": no \"card\" label");
  return label ? label->text : "";
}

}  // namespace

std::vector<CardTarget> ParseTargetsDocument(const std::string& text) {
  JsonValue document;
  try {
    document = ParseJson(text);
  } catch (const std::runtime_error& error) {
    throw TargetsError(std::string("not JSON: ") + error.what());
  }
  if (document.kind != Kind::kArray) throw TargetsError("not a list of target groups");
  std::vector<CardTarget> cards;
  for (size_t i = 0; i < document.items.size(); ++i) {
    const std::string where = "group " + std::to_string(i + 1);
    const JsonValue& group = document.items[i];
    if (group.kind != Kind::kObject) throw TargetsError(where + ": not an object");
    const std::string card = LabelOf(group, "card", where);
    const std::string auth = LabelOf(group, "auth", where);
    try {
      for (const JsonValue& target : group.Member("targets", Kind::kArray).items) {
        if (target.kind != Kind::kString) throw TargetsError(where + ": a target that is no text");
        cards.push_back(TargetOf(target.text, card, auth, where));
      }
    } catch (const TargetsError&) {
      throw;
    } catch (const std::runtime_error& error) {
      throw TargetsError(where + ": " + error.what());
    }
  }
  return cards;
}

}  // namespace t740::alerter
