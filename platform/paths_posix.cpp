// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "paths.h"

#include "working_directory.h"

#include <QDir>
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
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray absolutePath(const QByteArray& path) {
    const QByteArray absolute = path.startsWith('/') ? path : workingDirectory() + '/' + path;
    // Latin-1 gives each byte a character of its own and takes it back, so cleaning the
    // text keeps every byte of the names.
    return QDir::cleanPath(QString::fromLatin1(absolute)).toLatin1();
}

std::vector<QByteArray> foldersDownTo(const QByteArray& absolutePath) {
    std::vector<QByteArray> folders{QByteArray("/")};
    for (qsizetype end = 2; end <= absolutePath.size(); ++end) {
        if (end == absolutePath.size() || absolutePath[end] == '/') {
            folders.push_back(absolutePath.left(end));
        }
    }
    return folders;
}

QByteArrayView lastName(const QByteArray& path) {
    return path == "/" ? QByteArrayView(path)
                       : QByteArrayView(path).sliced(path.lastIndexOf('/') + 1);
}

std::vector<QByteArray> roots() {
    return {QByteArray("/")};
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
