#include "monitoring/probe/session_pool.h"

#include <sys/resource.h>

#include <algorithm>

namespace t740::monitoring {
namespace {

// Descriptors of the process's own beside connections and sessions: the
// standard streams, the listening sockets, the plug-in, the configuration
// files as they are read, the library's.
constexpr size_t kOwnDescriptors = 64;
constexpr size_t kAgentsLeast = 16;
constexpr size_t kAgentsMost = 65536;

// Every field apart, each after its length, so that no two peers meet.
void AddField(std::string& key, const std::string& field) {
  key += std::to_string(field.size());
  key += ':';
  key += field;
}

}  // namespace

std::string SessionPoolKey(const host::SnmpPeer& peer) {
  std::string key;
  AddField(key, peer.name);
  if (!peer.user) {
    AddField(key, peer.community);
    return key;
  }
  const host::UsmUser& user = *peer.user;
  AddField(key, user.name);
  AddField(key, std::to_string(static_cast<int>(user.level)) + "/" +
                    std::to_string(static_cast<int>(user.auth)) + "/" +
                    std::to_string(static_cast<int>(user.priv)));
  AddField(key, user.authPass);
  AddField(key, user.privPass);
  return key;
}

std::shared_ptr<host::SnmpSessions> SessionPool::For(const host::SnmpPeer& peer) {
  const std::string key = SessionPoolKey(peer);
  std::shared_ptr<host::SnmpSessions> evicted;  // closes its sessions after the lock
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = byKey_.find(key);
  if (found != byKey_.end()) {
    recent_.splice(recent_.begin(), recent_, found->second);
    return found->second->second;
  }
  recent_.emplace_front(key, std::make_shared<host::SnmpSessions>(peer, kIdleSessionsPerAgent));
  byKey_.emplace(key, recent_.begin());
  if (recent_.size() > agentsMaximum_) {
    evicted = std::move(recent_.back().second);
    byKey_.erase(recent_.back().first);
    recent_.pop_back();
  }
  return recent_.front().second;
}

size_t SessionPool::Agents() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return recent_.size();
}

size_t SessionPoolAgents(size_t openFilesLimit, size_t connections, size_t probesAtOnce) {
  // Each probe at once holds a session, beyond the idle ones when all its
  // agent's are busy.
  const size_t others = kOwnDescriptors + connections + probesAtOnce;
  const size_t spare = openFilesLimit > others ? openFilesLimit - others : 0;
  return std::clamp(spare / kIdleSessionsPerAgent, kAgentsLeast, kAgentsMost);
}

size_t RaiseOpenFilesLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
  if (limit.rlim_cur < limit.rlim_max) {
    const rlim_t wanted = limit.rlim_max;
    limit.rlim_cur = wanted;
    if (setrlimit(RLIMIT_NOFILE, &limit) != 0) getrlimit(RLIMIT_NOFILE, &limit);
  }
  return static_cast<size_t>(limit.rlim_cur);
}

}  // namespace t740::monitoring
