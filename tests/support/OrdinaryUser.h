#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace pelliwig::testing {

// The uid and gid of "nobody", an account that owns nothing of the test's.
inline constexpr uid_t kNobody = 65534;

// Runs `check` in a child process as an ordinary user when the test runs as
// root (who passes every permission check); its exit status is the number of
// failed checks (100: the user could not be changed, 200: the child died).
inline int asOrdinaryUser(const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) _exit(100);
        _exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}

}  // namespace pelliwig::testing
