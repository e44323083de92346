#include "sim/agent/usm_users.h"

#include <sstream>

#include "protocol/pass_phrase.h"
#include "sim/agent/sim_options.h"

namespace t740::sim {
namespace {

struct Level {
  const char* name;
  const char* word;  // net-snmp's
  size_t fields;     // on the line
};

constexpr Level kLevels[] = {
    {"noAuthNoPriv", "noauth", 2},
    {"authNoPriv", "auth", 4},
    {"authPriv", "priv", 6},
};
const char* const kAuthProtocols[] = {"SHA", "SHA-256"};
const char* const kPrivProtocols[] = {"AES"};

template <size_t Count>
bool OneOf(const std::string& word, const char* const (&names)[Count]) {
  for (const char* name : names) {
    if (word == name) return true;
  }
  return false;
}

const Level* LevelNamed(const std::string& name) {
  for (const Level& level : kLevels) {
    if (name == level.name) return &level;
  }
  return nullptr;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

std::string PassPhrase(const std::string& phrase, const std::string& where) {
  if (const auto problem = protocol::PassPhraseProblem(phrase))
    throw SimUsageError(where + ": " + *problem);
  // net-snmp's own parser would take a quote as the start of a quoted word.
  if (phrase[0] == '"' || phrase[0] == '\'') {
    throw SimUsageError(where + ": a pass phrase may not start with a quote");
  }
  return phrase;
}

UsmUserEntry ParseUser(const std::vector<std::string>& words, const std::string& where) {
  const Level* level = words.size() >= 2 ? LevelNamed(words[1]) : nullptr;
  if (!level) {
    throw SimUsageError(where +
                        ": the security level is none of noAuthNoPriv, authNoPriv, "
                        "authPriv");
  }
  if (words.size() != level->fields) {
    throw SimUsageError(where + ": " + words[1] + " takes " + std::to_string(level->fields) +
                        " words: NAME LEVEL [AUTH PASS [PRIV PASS]]");
  }
  UsmUserEntry user{words[0], level->word, "", "", "", ""};
  if (level->fields >= 4) {
    if (!OneOf(words[2], kAuthProtocols)) {
      throw SimUsageError(where + ": unknown authentication protocol '" + words[2] +
                          "'; one of SHA, SHA-256");
    }
    user.auth = words[2];
    user.authPass = PassPhrase(words[3], where);
  }
  if (level->fields == 6) {
    if (!OneOf(words[4], kPrivProtocols)) {
      throw SimUsageError(where + ": unknown privacy protocol '" + words[4] + "'; only AES");
    }
    user.priv = words[4];
    user.privPass = PassPhrase(words[5], where);
  }
  return user;
}

}  // namespace

std::vector<UsmUserEntry> ParseUsmUsers(const std::string& text) {
  std::vector<UsmUserEntry> users;
  std::istringstream lines(text);
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    const std::vector<std::string> words = Words(line.substr(0, line.find('#')));
    if (words.empty()) continue;
    const UsmUserEntry user = ParseUser(words, "line " + std::to_string(number));
    for (const UsmUserEntry& earlier : users) {
      if (earlier.name == user.name) {
        throw SimUsageError("line " + std::to_string(number) + ": user '" + user.name +
                            "' given twice");
      }
    }
    users.push_back(user);
  }
  return users;
}

std::vector<UsmUserEntry> ReadUsmUsers(const std::string& path) {
  std::string text;
  try {
    text = protocol::ReadPrivateFile(path);
  } catch (const protocol::PassPhraseError& error) {
    throw SimUsageError(std::string("--v3-users: ") + error.what());
  }
  try {
    std::vector<UsmUserEntry> users = ParseUsmUsers(text);
    if (users.empty()) throw SimUsageError("no user in it");
    return users;
  } catch (const SimUsageError& error) {
    throw SimUsageError("--v3-users: " + path + ": " + error.what());
  }
}

}  // namespace t740::sim
