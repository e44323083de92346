// Runs a step in a child process that has no root rights: as root the child
// becomes "nobody" first, since root may write any file and directory.
#ifndef T740_TESTS_SUPPORT_UNPRIVILEGED_CHILD_H
#define T740_TESTS_SUPPORT_UNPRIVILEGED_CHILD_H

#include <sys/types.h>

#include <functional>

namespace t740::test {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// The step's result as the child's exit status; 99 when the rights could
// not be dropped, 100 when the child did not exit.
int InChildWithoutRootRights(const std::function<int()>& step);

}  // namespace t740::test

#endif
