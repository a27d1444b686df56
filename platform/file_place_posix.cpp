// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "file_place.h"

#include "change_file_writer.h"
#include "symbolic_links_posix.h"

#include <cerrno>
#include <climits>

namespace pelomart {

FollowedPath followLinks(
    SystemCalls& calls, const QByteArray& path,
    const std::function<void(const QByteArray& link, const struct stat& status)>& onLink) {
    FollowedPath followed{path};
    for (int links = 0;; ++links) {
        if (calls.lstat(followed.path.constData(), &followed.status) != 0) {
            if (errno != ENOENT) {
                followed.error = errno;
                followed.links = links;
            }
            return followed;
        }
        if (!S_ISLNK(followed.status.st_mode)) {
            followed.exists = true;
            return followed;
        }
        if (links == kMaxLinks) {
            followed.error = ELOOP;
            followed.links = links;
            return followed;
        }
        if (onLink) {
            onLink(followed.path, followed.status);
        }
        char link[PATH_MAX];
        const ssize_t size = calls.readlink(followed.path.constData(), link, sizeof link);
        if (size < 0 || size == sizeof link) {
            // A target that fills the buffer is longer than any path the system takes.
            followed.error = size < 0 ? errno : ENAMETOOLONG;
            followed.links = size < 0 ? links : links + 1;
            return followed;
        }
        const QByteArray target(link, size);
        followed.path =
            target.startsWith('/') ? target : directoryOf(followed.path) + '/' + target;
    }
}

std::optional<FilePlace> placeOf(const QByteArray& path) {
    SystemCalls calls;
    const FollowedPath followed = followLinks(calls, path);
    if (followed.error != 0) {
        return std::nullopt;
    }
    if (followed.exists) {
        return FilePlace{quint64(followed.status.st_dev), quint64(followed.status.st_ino), {}};
    }
    struct stat directory {};
    if (calls.stat(directoryOf(followed.path).constData(), &directory) != 0) {
        return std::nullopt;
    }
    return FilePlace{quint64(directory.st_dev), quint64(directory.st_ino),
                     followed.path.mid(followed.path.lastIndexOf('/') + 1)};
}

} // namespace pelomart
