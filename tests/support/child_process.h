// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// Test-only: runs a piece of a test in a forked child, for what must not touch the test
// process itself (dropped privileges, resource limits, a kill).

#include <functional>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pelomart::test {

constexpr uid_t kNobody = 65534;

// The child ends with what `body` returns.
inline pid_t startChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(body());
    }
    return pid;
}

// The child's exit code, or 128 plus the number of the signal that ended it.
inline int exitCodeOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline int runInChild(const std::function<int()>& body) {
    return exitCodeOf(startChild(body));
}

// Root passes every permission check, so the child runs as "nobody"; 200 when it cannot
// become "nobody".
inline int runUnprivileged(const std::function<int()>& body) {
    return runInChild([&] {
        if (::getuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            return 200;
        }
        return body();
    });
}

} // namespace pelomart::test
