// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "paths.h"

#include "win32_files.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace pelomart {

// Not QFile::encodeName, which follows the ANSI code page here and loses every character
// that it lacks: a path's bytes are the UTF-8 of its UTF-16 name.
QByteArray encodePath(const QString& text) {
    return text.toUtf8();
}

QString decodePath(QByteArrayView path) {
    return QString::fromUtf8(path);
}

// The folder's own separator: a backslash, or a slash where the folder was given with
// slashes only ("C:/missions"). "C:" alone is drive C's working directory, and "C:name" a
// file in it: no separator.
QByteArray pathInFolder(const QByteArray& folder, const QByteArray& name) {
    const bool drive = folder.size() == 2 && folder.endsWith(':');
    if (drive || folder.endsWith('\\') || folder.endsWith('/')) {
        return folder + name;
    }
    const char separator = folder.contains('/') && !folder.contains('\\') ? '/' : '\\';
    return folder + separator + name;
}

namespace {

// The length of a path's root: "C:\" or "\\server\share\".
qsizetype rootLength(const QByteArray& path) {
    if (path.startsWith("\\\\")) {
        const qsizetype server = path.indexOf('\\', 2);
        const qsizetype share = server < 0 ? -1 : path.indexOf('\\', server + 1);
        return share < 0 ? path.size() : share + 1;
    }
    return std::min<qsizetype>(path.size(), 3);
}

} // namespace

QByteArray absolutePath(const QByteArray& path) {
    const std::wstring wide = QString::fromUtf8(path).toStdWString();
    const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    full.resize(size == 0 ? 0 : ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr));
    QByteArray absolute = pathBytes(full);
    if (absolute.endsWith('\\') && absolute.size() > rootLength(absolute)) {
        absolute.chop(1);
    }
    return absolute;
}

std::vector<QByteArray> foldersDownTo(const QByteArray& absolutePath) {
    const qsizetype rootEnd = rootLength(absolutePath);
    QByteArray root = absolutePath.left(rootEnd);
    if (!root.endsWith('\\')) {
        root += '\\';
    }
    std::vector<QByteArray> folders{root};
    for (qsizetype end = rootEnd + 1; end <= absolutePath.size(); ++end) {
        if (end == absolutePath.size() || absolutePath[end] == '\\') {
            folders.push_back(absolutePath.left(end));
        }
    }
    return folders;
}

QByteArrayView lastName(const QByteArray& path) {
    if (path.endsWith('\\')) {
        return path;
    }
    return QByteArrayView(path).sliced(path.lastIndexOf('\\') + 1);
}

std::vector<QByteArray> roots() {
    std::vector<QByteArray> drives;
    wchar_t names[4 * 26 + 1];
    const DWORD size = ::GetLogicalDriveStringsW(DWORD(std::size(names)), names);
    for (const wchar_t* name = names; size > 0 && size < std::size(names) && *name;
         name += std::wcslen(name) + 1) {
        drives.push_back(QString::fromWCharArray(name).toUtf8());
    }
    return drives;
}

QString fileNameFault(QStringView name) {
    for (const QChar c : name) {
        if (c.unicode() < 0x20) {
            return QStringLiteral("Windows allows no control character in a file name");
        }
        if (QStringView(u"<>:\"/\\|?*").contains(c)) {
            return QStringLiteral("Windows allows no %1 in a file name").arg(c);
        }
    }
    if (name.endsWith(u'.') || name.endsWith(u' ')) {
        return QStringLiteral("Windows allows no file name that ends in a dot or a blank");
    }
    // The device's name is the part before the first dot, blanks after it left out:
    // "nul.chg" and "COM1 .txt" both name a device.
    QStringView device = name.left(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    while (device.endsWith(u' ')) {
        device.chop(1);
    }
    static constexpr const char16_t* kDevices[] = {
        u"CON",  u"PRN",  u"AUX",  u"NUL",  u"COM1", u"COM2", u"COM3", u"COM4", u"COM5",
        u"COM6", u"COM7", u"COM8", u"COM9", u"COM\u00B9", u"COM\u00B2", u"COM\u00B3",
        u"LPT1", u"LPT2", u"LPT3", u"LPT4", u"LPT5", u"LPT6", u"LPT7", u"LPT8", u"LPT9",
        u"LPT\u00B9", u"LPT\u00B2", u"LPT\u00B3",
    };
    for (const char16_t* reserved : kDevices) {
        if (device.compare(QStringView(reserved), Qt::CaseInsensitive) == 0) {
            return QStringLiteral("%1 is the name of a device on Windows")
                .arg(QStringView(reserved));
        }
    }
    return {};
}

std::optional<FolderAndName> folderAndName(const QByteArray& path, QString& error) {
    const std::wstring wide = QString::fromUtf8(path).toStdWString();
    const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    if (size == 0 || (full.resize(::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr)),
                      full.empty())) {
        error = systemReason(::GetLastError());
        return std::nullopt;
    }
    const QByteArray absolute = pathBytes(full);
    const qsizetype slash = absolute.lastIndexOf('\\');
    // A folder at a drive's root keeps its backslash: "C:" alone is that drive's working
    // directory, not its root.
    QByteArray folder = absolute.left(slash);
    if (folder.size() == 2 && folder.endsWith(':')) {
        folder += '\\';
    }
    return FolderAndName{folder, absolute.mid(slash + 1)};
}

} // namespace pelomart
