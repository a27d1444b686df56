// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <string>
#include <vector>

namespace pelomart {

// Whether the path names a folder, a link to one included.
bool isFolder(const QByteArray& path);

// The names of the folders in a folder (links to folders too), as the system's bytes and in
// the order the system lists them; none for a folder that cannot be read.
std::vector<std::string> subfolderNames(const QByteArray& path);

} // namespace pelomart
