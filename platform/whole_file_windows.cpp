// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "whole_file.h"

#include "win32_files.h"

namespace pelomart {
namespace {

FileContents failed(const QString& error) {
    return {std::nullopt, error};
}

QString tooLong(qint64 longest) {
    return QStringLiteral("longer than %1 bytes").arg(longest);
}

// Up to one byte past the bound, so that a longer input shows; a file may have grown
// since its size was read.
FileContents readBounded(HANDLE handle, qint64 longest, QByteArray bytes = {}) {
    if (const DWORD error = readToEnd(handle, bytes, longest + 1)) {
        return failed(systemReason(error));
    }
    if (bytes.size() > longest) {
        return failed(tooLong(longest));
    }
    return {std::move(bytes), {}};
}

} // namespace

FileContents readWholeFile(const QByteArray& path, qint64 longest) {
    // Backup semantics: a folder opens too, and is then refused as one by name. Every
    // sharing mode: reading must not stop another program from writing or deleting.
    const Handle file(::CreateFileW(systemPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.isValid()) {
        return failed(systemReason(::GetLastError()));
    }
    // A device (CON, a serial port) or a pipe could wait for input for ever: refused before
    // a byte is read.
    switch (::GetFileType(file.get())) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_CHAR:
        return failed(QStringLiteral("a device"));
    case FILE_TYPE_PIPE:
        return failed(QStringLiteral("a pipe"));
    default:
        return failed(QStringLiteral("not a regular file"));
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file.get(), &information)) {
        return failed(systemReason(::GetLastError()));
    }
    if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return failed(QStringLiteral("a directory"));
    }
    const qint64 size = qint64(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
    if (size > longest) {
        return failed(tooLong(longest));
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(longest + 1));
    return readBounded(file.get(), longest, std::move(bytes));
}

FileContents readStandardInput(qint64 longest) {
    // ReadFile, not the C library's stdin: its bytes as they are, with no text mode to
    // turn CR LF into LF or to stop at a Ctrl+Z.
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (input == INVALID_HANDLE_VALUE || input == nullptr) {
        return failed(systemReason(input == nullptr ? ERROR_INVALID_HANDLE : ::GetLastError()));
    }
    return readBounded(input, longest);
}

} // namespace pelomart
