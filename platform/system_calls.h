// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace pelomart {

// The system calls the change-file reader and writer make, each the plain POSIX call.
// Every call passes through here so that a test can fail, shorten or record any of them.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    virtual int fstatat(int dirFd, const char* path, struct stat* status, int flags) {
        return ::fstatat(dirFd, path, status, flags);
    }
    virtual uid_t geteuid() { return ::geteuid(); }
    virtual ssize_t readlinkat(int dirFd, const char* path, char* buffer, size_t size) {
        return ::readlinkat(dirFd, path, buffer, size);
    }
    virtual int faccessat(int dirFd, const char* path, int mode, int flags) {
        return ::faccessat(dirFd, path, mode, flags);
    }
    virtual int open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
    virtual int openat(int dirFd, const char* path, int flags, mode_t mode) {
        return ::openat(dirFd, path, flags, mode);
    }
    virtual int fstat(int fd, struct stat* status) { return ::fstat(fd, status); }
    virtual ssize_t read(int fd, void* data, size_t size) { return ::read(fd, data, size); }
    virtual int fchown(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }
    virtual int fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
    virtual ssize_t write(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
    // Returns 0 or the error number itself, as posix_fallocate does; errno is untouched.
    virtual int posix_fallocate(int fd, off_t offset, off_t length) {
        return ::posix_fallocate(fd, offset, length);
    }
    virtual int ftruncate(int fd, off_t length) { return ::ftruncate(fd, length); }
    virtual int fsync(int fd) { return ::fsync(fd); }
    virtual int close(int fd) { return ::close(fd); }
    virtual int renameat(int fromDirFd, const char* from, int toDirFd, const char* to) {
        return ::renameat(fromDirFd, from, toDirFd, to);
    }
    virtual int unlinkat(int dirFd, const char* path, int flags) {
        return ::unlinkat(dirFd, path, flags);
    }

    // The lock that writers take in a directory (F_OFD_SETLK), and the extended attributes
    // (ACL entries among them) that a replaced file keeps.
    virtual int fcntl(int fd, int command, struct flock* lock) {
        return ::fcntl(fd, command, lock);
    }
    virtual ssize_t fgetxattr(int fd, const char* name, void* value, size_t size) {
        return ::fgetxattr(fd, name, value, size);
    }
    virtual ssize_t flistxattr(int fd, char* list, size_t size) {
        return ::flistxattr(fd, list, size);
    }
    virtual int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags) {
        return ::fsetxattr(fd, name, value, size, flags);
    }
    virtual int fremovexattr(int fd, const char* name) { return ::fremovexattr(fd, name); }
};

// Appends what `fd` gives until its end or until `bytes` holds `most` bytes, reading again
// where a signal interrupts a read. Returns 0, or the errno of the read that failed.
int readToEnd(SystemCalls& calls, int fd, QByteArray& bytes, qint64 most);

} // namespace pelomart
