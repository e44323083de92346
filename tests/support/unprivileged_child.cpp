#include "support/unprivileged_child.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace t740::test {

int InChildWithoutRootRights(const std::function<int()>& step) {
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(kNoGroup) != 0 || setuid(kNobody) != 0)) {
      _exit(99);
    }
    _exit(step());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

}  // namespace t740::test
