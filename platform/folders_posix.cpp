// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "folders.h"

#include <dirent.h>
#include <sys/stat.h>

namespace pelomart {

bool isFolder(const QByteArray& path) {
    struct stat info;
    return !path.isEmpty() && !path.contains('\0') && ::stat(path.constData(), &info) == 0 &&
           S_ISDIR(info.st_mode);
}

std::vector<std::string> subfolderNames(const QByteArray& path) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(path.constData());
    if (directory == nullptr) {
        return {};
    }
    while (const dirent* entry = ::readdir(directory)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        // Only a link, or a file system that does not say, needs the entry's own status.
        bool listed = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            listed = ::fstatat(::dirfd(directory), name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        if (listed) {
            names.emplace_back(name);
        }
    }
    ::closedir(directory);
    return names;
}

} // namespace pelomart
