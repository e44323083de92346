// Command-line options as a table, for t740-host and t740-sim: each option
// has its name, the name of its value in the help (none for a flag), its
// help text and the function that stores its value.
#ifndef T740_COMMON_OPTION_TABLE_H
#define T740_COMMON_OPTION_TABLE_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace t740 {

template <typename Options>
struct OptionEntry {
  const char* name;
  const char* metavar;  // null for a flag, which takes no value
  const char* help;     // lines end with "\n", the last one without
  void (*store)(Options& options, const std::string& value);
};

// "--name=value" split at its first "="; any other word is a name alone.
struct OptionWord {
  std::string name;
  std::optional<std::string> value;
};
OptionWord SplitOptionWord(const std::string& word);

// The value of the option in `words[i]`: the one after its "=", else the
// next word (and `i` moves on to it); nothing when the words end first.
std::optional<std::string> TakeOptionValue(const OptionWord& word,
                                           const std::vector<std::string>& words, size_t& i);

// "  NAME METAVAR" on a line, then each line of the help indented.
std::string OptionHelp(const char* name, const char* metavar, const char* help);

template <typename Options, size_t N>
const OptionEntry<Options>* FindOption(const OptionEntry<Options> (&table)[N],
                                       const std::string& name) {
  for (const OptionEntry<Options>& entry : table) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

template <typename Options, size_t N>
std::string TableHelp(const OptionEntry<Options> (&table)[N]) {
  std::string help;
  for (const OptionEntry<Options>& entry : table) {
    help += OptionHelp(entry.name, entry.metavar, entry.help);
  }
  return help;
}

// Stores the option that `words[i]` names, with its value (see
// TakeOptionValue). False, with nothing stored, when the word names no
// option of the table. Throws Error for a flag given a value and for an
// option without its value.
template <typename Error, typename Options, size_t N>
bool StoreOption(const OptionEntry<Options> (&table)[N], const std::vector<std::string>& words,
                 size_t& i, Options& options) {
  const OptionWord word = SplitOptionWord(words[i]);
  const OptionEntry<Options>* entry = FindOption(table, word.name);
  if (!entry) return false;
  if (!entry->metavar) {
    if (word.value) throw Error(std::string(entry->name) + " takes no value");
    entry->store(options, "");
    return true;
  }
  const std::optional<std::string> value = TakeOptionValue(word, words, i);
  if (!value) throw Error(std::string(entry->name) + " needs a value");
  entry->store(options, *value);
  return true;
}

}  // namespace t740

#endif
