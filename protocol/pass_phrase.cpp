#include "protocol/pass_phrase.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace t740::protocol {
namespace {

constexpr mode_t kOthersBits = S_IRWXG | S_IRWXO;
constexpr size_t kFileMaximum = 4096;

std::string OctalMode(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

std::string WithoutFinalLineBreak(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

// Closes the descriptor however the read ends.
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return descriptor_; }

 private:
  int descriptor_;
};

// Whether the opened file may hold a secret: a regular file (a FIFO or a
// device would stall the read), its owner's or root's, for its owner alone.
void RefuseUnlessPrivate(const std::string& path, const struct stat& status) {
  if (!S_ISREG(status.st_mode)) throw PassPhraseError(path + " is not a regular file");
  if (status.st_uid != geteuid() && status.st_uid != 0) {
    throw PassPhraseError(path + " belongs to user " + std::to_string(status.st_uid) +
                          ", not to this program's user " + std::to_string(geteuid()) + " or root");
  }
  if (status.st_mode & kOthersBits) {
    throw PassPhraseError(path + " may be read by others (mode " + OctalMode(status.st_mode) +
                          "); make it private: chmod 600 " + path);
  }
}

std::string ReadWhole(const std::string& path, int descriptor) {
  std::string text;
  char buffer[512];
  for (;;) {
    const ssize_t got = read(descriptor, buffer, sizeof buffer);
    if (got < 0) throw PassPhraseError("cannot read " + path + ": " + std::strerror(errno));
    if (got == 0) break;
    text.append(buffer, static_cast<size_t>(got));
    if (text.size() > kFileMaximum) throw PassPhraseError(path + " is too long for a secret");
  }
  return text;
}

}  // namespace

std::string ReadPrivateFile(const std::string& path) {
  // Judged on the file opened, not on its name, so that nothing can be
  // swapped in between the check and the read; opened without blocking,
  // since opening a FIFO would wait for a writer.
  const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.Get() < 0) throw PassPhraseError("cannot read " + path + ": " + std::strerror(errno));
  struct stat status {};
  if (fstat(file.Get(), &status) != 0) {
    throw PassPhraseError("cannot read " + path + ": " + std::strerror(errno));
  }
  RefuseUnlessPrivate(path, status);
  return ReadWhole(path, file.Get());
}

std::optional<std::string> PassPhraseProblem(const std::string& phrase) {
  if (phrase.empty()) return std::string("the pass phrase is empty");
  if (phrase.find_first_of("\r\n") != std::string::npos) {
    return std::string("the pass phrase holds a line break");
  }
  if (phrase.size() < kPassPhraseMinimum) {
    return "the pass phrase has " + std::to_string(phrase.size()) + " characters; USM needs " +
           std::to_string(kPassPhraseMinimum) + " or more";
  }
  return std::nullopt;
}

std::string ReadPassPhraseFile(const std::string& path) {
  const std::string phrase = WithoutFinalLineBreak(ReadPrivateFile(path));
  if (const auto problem = PassPhraseProblem(phrase)) throw PassPhraseError(path + ": " + *problem);
  return phrase;
}

}  // namespace t740::protocol
