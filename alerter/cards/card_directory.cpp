#include "alerter/cards/card_directory.h"

#include <fstream>
#include <set>
#include <sstream>

#include "alerter/cards/targets_document.h"

namespace t740::alerter {
namespace {

bool Same(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::string Contents(const std::string& file) {
  std::ifstream in(file);
  if (!in) throw TargetsError("cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

CardDirectory::CardDirectory(
    std::vector<std::string> files,
    std::function<void(const std::string& file, const std::string& why)> problem)
    : files_(std::move(files)), problem_(std::move(problem)) {}

// t740-sim writes its document beside the file and renames it over: a new
// inode, or a new time or size, is a new document.
bool CardDirectory::RefreshFile(const std::string& file, Seen& seen) {
  struct stat status {};
  if (stat(file.c_str(), &status) != 0) {
    if (seen.size != -2) problem_(file, "cannot be read");
    seen.size = -2;
    return false;
  }
  if (Same(status.st_mtim, seen.modified) && status.st_size == seen.size &&
      status.st_ino == seen.inode) {
    return false;
  }
  seen.modified = status.st_mtim;
  seen.size = status.st_size;
  seen.inode = status.st_ino;
  try {
    seen.cards = ParseTargetsDocument(Contents(file));
    return true;
  } catch (const TargetsError& error) {
    problem_(file, error.what());
    return false;
  }
}

bool CardDirectory::Refresh() {
  std::lock_guard<std::mutex> refreshing(refreshing_);
  bool changed = false;
  for (const std::string& file : files_) changed = RefreshFile(file, seen_[file]) || changed;
  if (!changed) return false;
  std::vector<CardTarget> cards;
  std::set<std::string> keys;
  for (const std::string& file : files_) {
    for (const CardTarget& card : seen_[file].cards) {
      if (keys.insert(card.Key()).second) cards.push_back(card);
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  cards_ = std::move(cards);
  return true;
}

std::vector<CardTarget> CardDirectory::All() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cards_;
}

std::vector<CardTarget> CardDirectory::Matching(const std::string& address,
                                                const std::string& card) const {
  std::vector<CardTarget> matching;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const CardTarget& target : cards_) {
    if (target.probe.address == address && target.probe.card == card) matching.push_back(target);
  }
  return matching;
}

size_t CardDirectory::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cards_.size();
}

}  // namespace t740::alerter
