// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <optional>

namespace pelomart {

// What a path reaches, once symbolic links are followed as the safe writer follows them:
// an existing file by its device and inode, so that a hard or symbolic link to another
// name's file is seen; a file still to be made by its folder's device and inode and its
// own name, so that a dangling link to another name is seen too. Two paths with one place
// write one file.
struct FilePlace {
    quint64 device = 0;
    quint64 inode = 0;
    QByteArray name; // empty for an existing file
    bool operator==(const FilePlace&) const = default;
};

inline size_t qHash(const FilePlace& place, size_t seed = 0) {
    return qHashMulti(seed, place.device, place.inode, place.name);
}

// Nothing when the chain cannot be followed; a write there then fails on its own.
std::optional<FilePlace> placeOf(const QByteArray& path);

} // namespace pelomart
