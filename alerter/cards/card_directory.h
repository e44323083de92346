// The cards the alerter watches, from the file service discovery documents
// it is given, read again when a file changes. A file that turns bad keeps
// its last good cards, as Prometheus does. Any thread.
#ifndef T740_ALERTER_CARDS_CARD_DIRECTORY_H
#define T740_ALERTER_CARDS_CARD_DIRECTORY_H

#include <sys/stat.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "alerter/cards/card_target.h"

namespace t740::alerter {

class CardDirectory {
 public:
  // `problem` is told of each file that cannot be read or parsed, with why.
  CardDirectory(std::vector<std::string> files,
                std::function<void(const std::string& file, const std::string& why)> problem);

  // Reads the files that changed since the last look; whether any did.
  bool Refresh();
  std::vector<CardTarget> All() const;
  // The cards of that address (the sender of a notification) and card
  // address: one, unless agents share an address and a card address.
  std::vector<CardTarget> Matching(const std::string& address, const std::string& card) const;
  size_t Size() const;

 private:
  struct Seen {
    timespec modified{};
    off_t size = -1;
    ino_t inode = 0;
    std::vector<CardTarget> cards;
  };

  bool RefreshFile(const std::string& file, Seen& seen);

  const std::vector<std::string> files_;
  const std::function<void(const std::string&, const std::string&)> problem_;
  std::mutex refreshing_;             // one Refresh at a time
  std::map<std::string, Seen> seen_;  // by file, under refreshing_
  mutable std::mutex mutex_;
  std::vector<CardTarget> cards_;
};

}  // namespace t740::alerter

#endif
