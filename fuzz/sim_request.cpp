// The simulated card's side of a request, as the substitute host passes the
// plug-in's texts to it: any identifier and any value. A write answers "1"
// or an error text, and an accepted write reads back as it was sent.
#include <string>

#include "fuzz_input.h"
#include "sim/card_model.h"
#include "sim/default_card.h"

namespace {

t740::sim::CardModel& Card() {
  static t740::sim::CardModel card(t740::sim::DefaultIdentity(), t740::sim::DefaultCardState(), 0,
                                   3600);
  return card;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

constexpr const char* kSuffixes[] = {".1", ".11", ".12", ".13", ".50", ".51", ".2", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  t740::fuzz::Input input(data, size);
  const int operation = input.Byte() % 3;
  std::string oid;
  if (input.Flag()) {
    oid = std::string(input.ShortText());
  } else {
    const bool writeArc = input.Flag() ? operation == 1 : input.Flag();
    oid = std::string("1.3.6.1.4.1.47291.2.1.1") + (writeArc ? ".85.2." : ".85.1.") + "01.07" +
          kSuffixes[input.Byte() % 8];
  }
  const std::string value(input.Rest());
  const std::string ip = t740::sim::DefaultIdentity().ip;

  t740::sim::CardModel& card = Card();
  const std::string answer = card.Answer(operation, ip, oid, value);
  if (operation != 1) return 0;
  FUZZ_CHECK(answer.empty() || answer == "1" || answer.rfind("ERROR", 0) == 0);
  if (answer != "1") return 0;

  const std::string head = "1.3.6.1.4.1.47291.2.1.1.85.2.01.07";
  const std::string read = "1.3.6.1.4.1.47291.2.1.1.85.1.01.07";
  if (oid == head + ".11") {
    FUZZ_CHECK(card.Answer(0, ip, read + ".11", "").substr(6, 2) == Upper(value.substr(6)));
  } else if (oid == head + ".51") {
    FUZZ_CHECK(card.Answer(0, ip, read + ".51", "").substr(6) == Upper(value.substr(6)));
  } else if (oid == head + ".13" && value.substr(6, 2) == "01") {
    const std::string back = card.Answer(0, ip, read + ".13", "");
    FUZZ_CHECK(back.substr(8, 4) == value.substr(8, 4));
    FUZZ_CHECK(back.substr(44, 64) == Upper(value.substr(44, 64)));
  }
  return 0;
}
