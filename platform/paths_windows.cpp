// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "paths.h"

#include "win32_files.h"

namespace pelomart {

// Not QFile::encodeName, which follows the ANSI code page here and loses every character
// that it lacks: a path's bytes are the UTF-8 of its UTF-16 name.
QByteArray encodePath(const QString& text) {
    return text.toUtf8();
}

QString decodePath(QByteArrayView path) {
    return QString::fromUtf8(path);
}

QByteArray pathInFolder(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('\\') || folder.endsWith('/') ? folder + name : folder + '\\' + name;
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
