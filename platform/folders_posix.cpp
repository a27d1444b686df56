// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "folders.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelomart {

bool isFolder(const QByteArray& path) {
    struct stat info;
    return !path.isEmpty() && !path.contains('\0') && ::stat(path.constData(), &info) == 0 &&
           S_ISDIR(info.st_mode);
}

std::optional<QByteArray> resolvedFolder(const QByteArray& path) {
    if (path.isEmpty() || path.contains('\0')) {
        return std::nullopt;
    }
    char* const real = ::realpath(path.constData(), nullptr);
    if (real == nullptr) {
        return std::nullopt;
    }
    QByteArray resolved(real);
    std::free(real);
    return resolved;
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

QString folderFault(const QByteArray& path) {
    struct stat status {};
    if (::stat(path.constData(), &status) != 0) {
        return qt_error_string(errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        return QStringLiteral("not a directory");
    }
    if (status.st_nlink == 0) {
        return QStringLiteral("the directory has been removed");
    }
    return {};
}

QString newFileFault(const QByteArray& path) {
    return ::access(path.constData(), W_OK | X_OK) == 0 ? QString() : qt_error_string(errno);
}

bool isWritableFile(const QByteArray& path) {
    return ::access(path.constData(), W_OK) == 0;
}

} // namespace pelomart
