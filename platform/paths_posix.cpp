// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "paths.h"

#include <QFile>
#include <filesystem>

namespace pelomart {

QByteArray encodePath(const QString& text) {
    return QFile::encodeName(text);
}

QString decodePath(QByteArrayView path) {
    return QFile::decodeName(path.toByteArray());
}

QByteArray pathInFolder(const QByteArray& folder, const QByteArray& name) {
    return folder + '/' + name;
}

QString fileNameFault(QStringView) {
    return {};
}

std::optional<FolderAndName> folderAndName(const QByteArray& path, QString& error) {
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(path.toStdString(), failure);
    if (failure) {
        error = qt_error_string(failure.value());
        return std::nullopt;
    }
    return FolderAndName{QByteArray::fromStdString(absolute.parent_path().native()),
                         QByteArray::fromStdString(absolute.filename().native())};
}

} // namespace pelomart
