// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace pelomart {

// Whether the path names a folder, a link to one included.
bool isFolder(const QByteArray& path);

// The folder as the system reaches it, absolute, with every link and ".." resolved as the
// system resolves them ("a/link/.." is the parent of the link's target on Linux); nothing
// where the system cannot reach it.
std::optional<QByteArray> resolvedFolder(const QByteArray& path);

// The names of the folders in a folder (links to folders too), as the system's bytes and in
// the order the system lists them; none for a folder that cannot be read.
std::vector<std::string> subfolderNames(const QByteArray& path);

// Why no file can be made in the folder at all (the system's reason, not a folder, removed),
// or empty.
QString folderFault(const QByteArray& path);
// Why the folder takes no new file although it is one (the system's reason), or empty where
// it takes one or where the system can only tell by trying.
QString newFileFault(const QByteArray& path);
// Whether the file exists and may be written.
bool isWritableFile(const QByteArray& path);

} // namespace pelomart
