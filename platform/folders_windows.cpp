// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "folders.h"

#include "win32_files.h"

namespace pelomart {

bool isFolder(const QByteArray& path) {
    if (path.isEmpty() || path.contains('\0')) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(systemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows itself takes ".." by the text of the path, before it follows any link, so the
// full path it makes of the text is the folder it reaches.
std::optional<QByteArray> resolvedFolder(const QByteArray& path) {
    if (!isFolder(path)) {
        return std::nullopt;
    }
    return pathBytes(systemPath(path));
}

std::vector<std::string> subfolderNames(const QByteArray& path) {
    std::vector<std::string> names;
    std::wstring pattern = systemPath(path);
    pattern += pattern.ends_with(L'\\') ? L"*" : L"\\*";
    WIN32_FIND_DATAW found;
    // The basic information: the short 8.3 names are never shown, so never fetched.
    const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return {};
    }
    do {
        const std::wstring_view name(found.cFileName);
        // A link or junction to a folder carries the folder attribute too.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
            names.push_back(
                QString::fromWCharArray(name.data(), qsizetype(name.size())).toStdString());
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

QString folderFault(const QByteArray& path) {
    const DWORD attributes = ::GetFileAttributesW(systemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return systemReason(::GetLastError());
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return QStringLiteral("not a directory");
    }
    return {};
}

// Windows answers whether a folder takes a new file only through its ACL, which only the
// attempt reads right (inherited entries, groups, privileges): each write says so itself.
QString newFileFault(const QByteArray&) {
    return {};
}

bool isWritableFile(const QByteArray& path) {
    const DWORD attributes = ::GetFileAttributesW(systemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

} // namespace pelomart
