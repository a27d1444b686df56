// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// Test-only: runs a piece of a test in a forked child, for what must not touch the test
// process itself (dropped privileges, resource limits, a kill).

#include <functional>
#include <string>

#include <fcntl.h>
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

// Root passes every permission check, so the child runs as "nobody", a member of `group`
// besides; 200 when it cannot become "nobody".
inline int runUnprivileged(const std::function<int()>& body, gid_t group = kNobody) {
    return runInChild([&] {
        if (::getuid() == 0 &&
            (::setgroups(1, &group) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            return 200;
        }
        return body();
    });
}

// Another writer, in a child process: takes the writers' lock in `dir`, runs `whileHeld`,
// which calls `ready` once the caller may go on, and lets go as a writer does, the name
// first. Returns once `ready` has been called.
inline pid_t
holdWritersLock(const std::string& dir,
                const std::function<void(const std::function<void()>& ready)>& whileHeld) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t pid = startChild([&] {
        const std::string name = dir + "/.pelomart-lock";
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT, 0600);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        if (fd < 0 || ::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
            return 1;
        }
        whileHeld([&] { (void)!::write(ready[1], "", 1); });
        return ::unlink(name.c_str());
    });
    ::close(ready[1]);
    char byte = 0;
    (void)!::read(ready[0], &byte, 1);
    ::close(ready[0]);
    return pid;
}

} // namespace pelomart::test
