// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "working_directory.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace pelomart {

QByteArray workingDirectory() {
    QByteArray path(256, Qt::Uninitialized);
    while (::getcwd(path.data(), std::size_t(path.size())) == nullptr) {
        if (errno != ERANGE) {
            return {};
        }
        path.resize(path.size() * 2);
    }
    path.truncate(qsizetype(std::strlen(path.constData())));
    return path;
}

} // namespace pelomart
