// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "win32_files.h"

#include <algorithm>

namespace pelomart {

std::wstring systemPath(const QByteArray& path) {
    const std::wstring given = QString::fromUtf8(path).toStdWString();
    if (given.starts_with(L"\\\\?\\") || given.empty()) {
        return given;
    }
    // Also turns each / into \, which the \\?\ form would take as part of a name.
    const DWORD size = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return given; // the call that uses it then fails with the system's reason
    }
    std::wstring full(size, L'\0');
    full.resize(::GetFullPathNameW(given.c_str(), size, full.data(), nullptr));
    if (full.starts_with(L"\\\\.\\")) {
        return full;
    }
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

QByteArray pathBytes(const std::wstring& name) {
    std::wstring_view shown(name);
    if (shown.starts_with(L"\\\\?\\UNC\\")) {
        return "\\\\" + QString::fromStdWString(std::wstring(shown.substr(8))).toUtf8();
    }
    if (shown.starts_with(L"\\\\?\\")) {
        shown.remove_prefix(4);
    }
    return QString::fromWCharArray(shown.data(), qsizetype(shown.size())).toUtf8();
}

QString systemReason(DWORD error) {
    return qt_error_string(int(error));
}

DWORD readToEnd(HANDLE handle, QByteArray& bytes, qint64 most) {
    // A piece at a time: standard input says nothing of its length beforehand.
    constexpr qint64 kPiece = 64 * 1024;
    while (bytes.size() < most) {
        const qsizetype filled = bytes.size();
        bytes.resize(filled + qsizetype(std::min(most - filled, kPiece)));
        DWORD count = 0;
        const BOOL read =
            ::ReadFile(handle, bytes.data() + filled, DWORD(bytes.size() - filled), &count, nullptr);
        const DWORD error = read ? 0 : ::GetLastError();
        bytes.resize(filled + qsizetype(count));
        if (!read) {
            return error == ERROR_BROKEN_PIPE ? 0 : error;
        }
        if (count == 0) {
            break;
        }
    }
    return 0;
}

} // namespace pelomart
