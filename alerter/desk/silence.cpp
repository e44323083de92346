#include "alerter/desk/silence.h"

#include <regex.h>

#include <stdexcept>

#include "alerter/alertmanager/rfc3339.h"
#include "alerter/json/json_value.h"
#include "hosting/text/json_text.h"

namespace t740::alerter {
namespace {

using Kind = JsonValue::Kind;

// Alertmanager anchors a matcher's expression at both ends. POSIX extended
// expressions read the syntax that matchers use in practice (alternation,
// classes, repetition); one they cannot read silences nothing here.
bool RegexMatches(const std::string& expression, const std::string& value) {
  regex_t compiled;
  const std::string anchored = "^(" + expression + ")$";
  if (regcomp(&compiled, anchored.c_str(), REG_EXTENDED | REG_NOSUB) != 0) return false;
  const bool matches = regexec(&compiled, value.c_str(), 0, nullptr, 0) == 0;
  regfree(&compiled);
  return matches;
}

void AppendMember(std::string& out, const char* name, const std::string& value) {
  host::AppendJsonString(out, name);
  out += ':';
  host::AppendJsonString(out, value);
  out += ',';
}

void AppendMatcher(std::string& out, const SilenceMatcher& matcher) {
  out += '{';
  AppendMember(out, "name", matcher.name);
  AppendMember(out, "value", matcher.value);
  out += "\"isRegex\":";
  out += matcher.isRegex ? "true" : "false";
  out += ",\"isEqual\":";
  out += matcher.isEqual ? "true" : "false";
  out += '}';
}

std::string Text(const JsonValue& object, const char* name) {
  return object.Member(name, Kind::kString).text;
}

// Alertmanager before 0.22 writes no isEqual: every matcher was equal.
bool Flag(const JsonValue& object, const char* name, bool absent) {
  const JsonValue* flag = object.OptionalMember(name, Kind::kBool);
  return flag ? flag->boolean : absent;
}

SilenceMatcher MatcherOf(const JsonValue& json) {
  return {Text(json, "name"), Text(json, "value"), Flag(json, "isRegex", false),
          Flag(json, "isEqual", true)};
}

Silence SilenceOf(const JsonValue& json) {
  Silence silence;
  silence.id = Text(json, "id");
  for (const JsonValue& matcher : json.Member("matchers", Kind::kArray).items) {
    silence.matchers.push_back(MatcherOf(matcher));
  }
  silence.createdBy = Text(json, "createdBy");
  silence.comment = Text(json, "comment");
  silence.startsAt = ParseRfc3339(Text(json, "startsAt"));
  silence.endsAt = ParseRfc3339(Text(json, "endsAt"));
  silence.state = Text(json.Member("status", Kind::kObject), "state");
  return silence;
}

}  // namespace

bool MatcherMatches(const SilenceMatcher& matcher, const std::string& value) {
  const bool matches =
      matcher.isRegex ? RegexMatches(matcher.value, value) : matcher.value == value;
  return matches == matcher.isEqual;
}

bool SilenceMatches(const Silence& silence, const Labels& labels) {
  for (const SilenceMatcher& matcher : silence.matchers) {
    const auto label = labels.find(matcher.name);
    if (!MatcherMatches(matcher, label == labels.end() ? "" : label->second)) return false;
  }
  return true;
}

std::string SilenceJson(const Silence& silence) {
  std::string out = "{";
  if (!silence.id.empty()) AppendMember(out, "id", silence.id);
  AppendMember(out, "createdBy", silence.createdBy);
  AppendMember(out, "comment", silence.comment);
  AppendMember(out, "startsAt", FormatRfc3339(silence.startsAt));
  AppendMember(out, "endsAt", FormatRfc3339(silence.endsAt));
  out += "\"matchers\":[";
  for (size_t i = 0; i < silence.matchers.size(); ++i) {
    if (i) out += ',';
    AppendMatcher(out, silence.matchers[i]);
  }
  out += "]}";
  return out;
}

std::vector<Silence> ParseSilences(const std::string& json) {
  const JsonValue document = ParseJson(json);
  if (document.kind != Kind::kArray) throw std::runtime_error("the silences are not a list");
  std::vector<Silence> silences;
  for (const JsonValue& silence : document.items) silences.push_back(SilenceOf(silence));
  return silences;
}

std::string ParseSilenceId(const std::string& json) {
  return Text(ParseJson(json), "silenceID");
}

}  // namespace t740::alerter
