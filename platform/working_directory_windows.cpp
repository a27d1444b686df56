// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "working_directory.h"

#include "win32_files.h"

namespace pelomart {

QByteArray workingDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = ::GetCurrentDirectoryW(DWORD(path.size()), path.data());
        if (size == 0) {
            return {};
        }
        if (size < path.size()) {
            path.resize(size);
            return pathBytes(path);
        }
        path.resize(size); // the room it needs, its terminating null included
    }
}

} // namespace pelomart
