// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace pelomart {

class SystemCalls;

// The most symbolic links a write follows to its file: the kernel's limit.
inline constexpr int kMaxLinks = 40;

// The directory part of a path (the system's bytes): "." for a bare name, "/" in the root.
QByteArray directoryOf(const QByteArray& path);

// Creates or replaces the file at `path` (the system's bytes for it) so that it holds
// exactly `bytes`. The bytes go to a temporary file beside the target, reach the disk, and
// only then take the target's place: on any failure an existing file stays as it was and
// no temporary file is left. An existing file keeps its permissions; a symbolic link is
// written through to the file it points to, unless the kernel's protected-symlinks rule
// would refuse to follow it. Where the directory cannot take a new file but the existing
// file is writable, the file is rewritten in place.
// Throws RunTimeError: PathNotFound (a missing directory, a path that loops or that links
// make too long), PermissionDenied, PathFileAccess (the name is a directory or not a
// regular file, or the file cannot be replaced), BadFileName (empty or over-long name),
// DiskFull (no space, quota, file-size limit), DeviceIO (anything else).
//
// Not QSaveFile: in Qt 6.4 its commit() ignores a failed fdatasync and renames anyway,
// never syncs the directory after the rename, and returns true when the write it flushes
// fails, leaving a cut-short file in the target's place. Its error() names the failing
// step, not the cause: no space, quota exceeded and permission denied at open are all
// OpenError, where the user must be told "Disk full" (61) or "Permission denied" (70).
//
// Pelomart's writers take a lock in the target's directory while one of them compares and
// replaces a file there, so a write that holds `expected` never loses another's change; only
// a process that may write the directory can take it. A writer waits up to 10 seconds for
// another's lock, then fails with PathFileAccess; a file in the lock's place that it may not
// open, and that is no lock just made, fails it at once, with PathFileAccess too. An existing
// file keeps its extended attributes and ACL entries, or the write is refused; one whose owner
// or group this process may not give a new file is rewritten in place, and only if the file
// it opens is still the one it checked. Every step works relative to the open directory, so
// any path the system takes is taken.
struct ChangeFileWrite {
    // When set, the file is replaced only if it still holds these bytes, the ones its caller
    // read from it; otherwise PathFileAccess, and the file keeps what another writer put there.
    std::optional<QByteArray> expected;
    // Set by the write: the other names (hard links) of a file that was replaced by a rename.
    // They still name the old record.
    qint64 otherNames = 0;
    // Set by a write that gave up waiting for another writer's lock on the directory.
    bool lockHeld = false;
};

void writeChangeFile(const QByteArray& path, const QByteArray& bytes,
                     ChangeFileWrite* write = nullptr);
// The same, with every system call made through `calls`.
void writeChangeFile(const QByteArray& path, const QByteArray& bytes, SystemCalls& calls,
                     ChangeFileWrite* write = nullptr);

} // namespace pelomart
