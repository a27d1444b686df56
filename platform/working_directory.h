// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>

namespace pelomart {

// The process's working directory as the system's bytes, empty when it has none (it has
// been removed, or a directory above it cannot be searched). Never throws: both programs
// must start wherever they are started. Not QDir::currentPath(), which decodes the bytes,
// so that a name that is not UTF-8 comes back as another; not std::filesystem's
// current_path(), which throws there.
QByteArray workingDirectory();

} // namespace pelomart
