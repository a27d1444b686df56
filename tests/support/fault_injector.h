// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// Test-only: the writer's system calls, recorded in order, with chosen calls failed,
// shortened, or ended by a SIGKILL of the calling process.

#include "system_calls.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <type_traits>
#include <utility>
#include <vector>

namespace pelomart::test {

// Calls on a directory's descriptor are told apart from those on a file.
enum class Call {
    Fstatat,
    Fstat,
    Readlinkat,
    Faccessat,
    Open,
    OpenDirectory,
    Fchown,
    Fchmod,
    Write,
    Fallocate,
    Ftruncate,
    Fsync,
    FsyncDirectory,
    Close,
    CloseDirectory,
    Renameat,
    Unlinkat,
    Fcntl,
    Fsetxattr,
};

inline const char* nameOf(Call call) {
    constexpr const char* names[] = {
        "fstatat",        "fstat",    "readlinkat",      "faccessat", "open",
        "open directory", "fchown",   "fchmod",          "write",     "posix_fallocate",
        "ftruncate",      "fsync",    "fsync directory", "close",     "close directory",
        "renameat",       "unlinkat", "fcntl",           "fsetxattr",
    };
    static_assert(std::size(names) == std::size_t(Call::Fsetxattr) + 1, "a name for each call");
    return names[int(call)];
}

struct Fault {
    Call call;
    int nth = 1;      // the first call of its kind is 1
    int error = 0;    // errno the call fails with
    size_t takes = 0; // a write that takes only this many bytes; 0 takes them all
};

// Where the process kills itself: around the step-th call of the whole sequence (from 0).
struct Kill {
    int step = -1;
    bool afterTheCall = false;
};

class FaultInjector : public SystemCalls {
public:
    explicit FaultInjector(std::vector<Fault> faults = {}, Kill kill = {})
        : m_faults(std::move(faults)), m_kill(kill) {}

    std::vector<Call> sequence;
    // The flags of each call in `sequence` that opens, 0 for the others.
    std::vector<int> openFlags;
    // Runs before the nth call of its kind: another writer's turn, in a race made on purpose.
    std::function<void(Call call, int nth)> beforeCall;
    // Who the writer believes it runs as, and who fstat says owns a directory; unset, the truth.
    std::optional<uid_t> euid;
    std::optional<uid_t> directoryOwner;

    int fstatat(int dirFd, const char* path, struct stat* status, int flags) override {
        return run(Call::Fstatat, [&] { return SystemCalls::fstatat(dirFd, path, status, flags); });
    }
    int fstat(int fd, struct stat* status) override {
        const int result = run(Call::Fstat, [&] { return SystemCalls::fstat(fd, status); });
        if (result == 0 && directoryOwner && m_directories.contains(fd)) {
            status->st_uid = *directoryOwner;
        }
        return result;
    }
    uid_t geteuid() override { return euid.value_or(SystemCalls::geteuid()); }
    ssize_t readlinkat(int dirFd, const char* path, char* buffer, size_t size) override {
        return run(Call::Readlinkat,
                   [&] { return SystemCalls::readlinkat(dirFd, path, buffer, size); });
    }
    int faccessat(int dirFd, const char* path, int mode, int flags) override {
        return run(Call::Faccessat,
                   [&] { return SystemCalls::faccessat(dirFd, path, mode, flags); });
    }
    int open(const char* path, int flags, mode_t mode) override {
        return openat(AT_FDCWD, path, flags, mode);
    }
    int openat(int dirFd, const char* path, int flags, mode_t mode) override {
        const bool directory = flags & O_DIRECTORY;
        m_flags = flags;
        const int fd = run(directory ? Call::OpenDirectory : Call::Open,
                           [&] { return SystemCalls::openat(dirFd, path, flags, mode); });
        if (directory && fd >= 0) {
            m_directories.insert(fd);
        }
        return fd;
    }
    int fchown(int fd, uid_t owner, gid_t group) override {
        return run(Call::Fchown, [&] { return SystemCalls::fchown(fd, owner, group); });
    }
    int fchmod(int fd, mode_t mode) override {
        return run(Call::Fchmod, [&] { return SystemCalls::fchmod(fd, mode); });
    }
    ssize_t write(int fd, const void* data, size_t size) override {
        return run(Call::Write, [&](size_t takes = 0) {
            return SystemCalls::write(fd, data, takes > 0 ? std::min(takes, size) : size);
        });
    }
    int posix_fallocate(int fd, off_t offset, off_t length) override {
        const int result = run(Call::Fallocate, [&] {
            const int error = SystemCalls::posix_fallocate(fd, offset, length);
            errno = error;
            return error == 0 ? 0 : -1;
        });
        return result == 0 ? 0 : errno;
    }
    int ftruncate(int fd, off_t length) override {
        return run(Call::Ftruncate, [&] { return SystemCalls::ftruncate(fd, length); });
    }
    int fsync(int fd) override {
        return run(m_directories.contains(fd) ? Call::FsyncDirectory : Call::Fsync,
                   [&] { return SystemCalls::fsync(fd); });
    }
    int close(int fd) override {
        const bool directory = m_directories.erase(fd) > 0;
        return run(directory ? Call::CloseDirectory : Call::Close,
                   [&] { return SystemCalls::close(fd); });
    }
    int renameat(int fromDirFd, const char* from, int toDirFd, const char* to) override {
        return run(Call::Renameat,
                   [&] { return SystemCalls::renameat(fromDirFd, from, toDirFd, to); });
    }
    int unlinkat(int dirFd, const char* path, int flags) override {
        return run(Call::Unlinkat, [&] { return SystemCalls::unlinkat(dirFd, path, flags); });
    }
    int fcntl(int fd, int command, struct flock* lock) override {
        return run(Call::Fcntl, [&] { return SystemCalls::fcntl(fd, command, lock); });
    }
    int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags) override {
        return run(Call::Fsetxattr,
                   [&] { return SystemCalls::fsetxattr(fd, name, value, size, flags); });
    }

private:
    template <typename RealCall> auto run(Call call, RealCall real) -> decltype(real()) {
        const int step = int(sequence.size());
        sequence.push_back(call);
        openFlags.push_back(std::exchange(m_flags, 0));
        const int nth = ++m_counts[call];
        if (beforeCall) {
            beforeCall(call, nth);
        }
        if (m_kill.step == step && !m_kill.afterTheCall) {
            ::raise(SIGKILL);
        }
        decltype(real()) result = 0;
        const Fault* fault = faultFor(call, nth);
        if (fault && fault->error != 0) {
            // A failing close still frees the descriptor, as Linux does.
            if (call == Call::Close || call == Call::CloseDirectory) {
                real();
            }
            errno = fault->error;
            result = -1;
        } else if constexpr (std::is_invocable_v<RealCall, size_t>) {
            result = real(fault ? fault->takes : 0);
        } else {
            result = real();
        }
        if (m_kill.step == step && m_kill.afterTheCall) {
            ::raise(SIGKILL);
        }
        return result;
    }

    const Fault* faultFor(Call call, int nth) const {
        for (const Fault& fault : m_faults) {
            if (fault.call == call && fault.nth == nth) {
                return &fault;
            }
        }
        return nullptr;
    }

    std::vector<Fault> m_faults;
    Kill m_kill;
    std::map<Call, int> m_counts;
    std::set<int> m_directories;
    int m_flags = 0;
};

} // namespace pelomart::test
