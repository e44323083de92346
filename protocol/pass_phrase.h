// USM pass phrases from files: a pass phrase on a command line is visible
// to every user of the machine, so both programs read them from files that
// only their owner may read, or from the environment.
#ifndef T740_PROTOCOL_PASS_PHRASE_H
#define T740_PROTOCOL_PASS_PHRASE_H

#include <optional>
#include <stdexcept>
#include <string>

namespace t740::protocol {

// USM derives no key from fewer characters (RFC 3414, 11.2).
constexpr size_t kPassPhraseMinimum = 8;

class PassPhraseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text of a file that only its owner may read or write: no group or
// other permission bit set. Throws PassPhraseError, naming the file, when
// it cannot be read, is no regular file (a FIFO is refused at once, not
// waited on), belongs to a user other than the effective one or root, or
// has such a bit.
std::string ReadPrivateFile(const std::string& path);

// Why `phrase` is no USM pass phrase (empty, too short, a line break
// inside), or nothing when it is one.
std::optional<std::string> PassPhraseProblem(const std::string& phrase);

// The first line of a private file as a pass phrase (a final line break is
// not part of it). Throws PassPhraseError for any of the problems above.
std::string ReadPassPhraseFile(const std::string& path);

}  // namespace t740::protocol

#endif
