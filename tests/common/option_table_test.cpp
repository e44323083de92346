#include "common/option_table.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace t740 {
namespace {

struct Toy {
  std::string name;
  bool loud = false;
};

class ToyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

const OptionEntry<Toy> kToyOptions[] = {
    {"--name", "TEXT", "who it is;\nsaid twice",
     [](Toy& toy, const std::string& v) { toy.name = v; }},
    {"--loud", nullptr, "shout", [](Toy& toy, const std::string&) { toy.loud = true; }},
};

// Stores every word in turn; the words no option names come back.
std::vector<std::string> StoreAll(const std::vector<std::string>& words, Toy& toy) {
  std::vector<std::string> others;
  for (size_t i = 0; i < words.size(); ++i) {
    if (!StoreOption<ToyError>(kToyOptions, words, i, toy)) others.push_back(words[i]);
  }
  return others;
}

TEST(OptionTable, TakesTheValueAfterTheEqualsSignOrTheNextWord) {
  Toy toy;
  EXPECT_EQ(StoreAll({"--name", "a=b", "x", "--loud", "--name=c=d", "--other=1"}, toy),
            (std::vector<std::string>{"x", "--other=1"}));
  EXPECT_EQ(toy.name, "c=d");
  EXPECT_TRUE(toy.loud);
  StoreAll({"--name="}, toy);
  EXPECT_EQ(toy.name, "");
}

TEST(OptionTable, AFlagTakesNoValueAndAnOptionNeedsOne) {
  Toy toy;
  try {
    StoreAll({"--loud=yes"}, toy);
    FAIL() << "a flag with a value";
  } catch (const ToyError& error) {
    EXPECT_STREQ(error.what(), "--loud takes no value");
  }
  try {
    StoreAll({"--name"}, toy);
    FAIL() << "an option without its value";
  } catch (const ToyError& error) {
    EXPECT_STREQ(error.what(), "--name needs a value");
  }
  EXPECT_FALSE(toy.loud);
}

TEST(OptionTable, SplitsOnlyDoubleDashWords) {
  EXPECT_EQ(SplitOptionWord("a=b").name, "a=b");
  EXPECT_FALSE(SplitOptionWord("-a=b").value);
  const OptionWord word = SplitOptionWord("--a=b");
  EXPECT_EQ(word.name, "--a");
  EXPECT_EQ(word.value, "b");
}

TEST(OptionTable, HelpIndentsEveryLineOfEachOption) {
  EXPECT_EQ(TableHelp(kToyOptions),
            "  --name TEXT\n        who it is;\n        said twice\n"
            "  --loud\n        shout\n");
}

}  // namespace
}  // namespace t740
