// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "file_place.h"

#include "win32_files.h"

#include <optional>

namespace pelomart {
namespace {

// The volume and file index of what the path names, links followed by the system.
std::optional<FilePlace> identityOf(const std::wstring& path) {
    const Handle handle(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!handle.isValid() || !::GetFileInformationByHandle(handle.get(), &information)) {
        return std::nullopt;
    }
    return FilePlace{information.dwVolumeSerialNumber,
                     quint64(information.nFileIndexHigh) << 32 | information.nFileIndexLow,
                     {}};
}

} // namespace

// A file still to be made is named in its folder by its name in upper case, as Windows
// compares names: "Clovek.chg" and "CLOVEK.CHG" are one file here.
std::optional<FilePlace> placeOf(const QByteArray& path) {
    const std::wstring name = systemPath(path);
    if (std::optional<FilePlace> existing = identityOf(name)) {
        return existing;
    }
    const DWORD error = ::GetLastError();
    const std::size_t slash = name.find_last_of(L'\\');
    if ((error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) ||
        slash == std::wstring::npos) {
        return std::nullopt;
    }
    std::optional<FilePlace> folder = identityOf(name.substr(0, slash + 1));
    if (!folder) {
        return std::nullopt;
    }
    std::wstring upper = name.substr(slash + 1);
    if (!upper.empty() && ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, upper.data(),
                                          int(upper.size()), upper.data(), int(upper.size()),
                                          nullptr, nullptr, 0) == 0) {
        return std::nullopt;
    }
    folder->name = QString::fromStdWString(upper).toUtf8();
    return folder;
}

} // namespace pelomart
