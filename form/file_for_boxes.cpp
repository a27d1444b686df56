// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "file_for_boxes.h"

#include "human_record_reader.h"
#include "paths.h"
#include "shown_text.h"
#include "whole_file.h"

namespace pelomart {
namespace {

FileForBoxes decoded(QByteArray bytes) {
    FileForBoxes file;
    DecodedHumanRecord decoded = decodeHumanRecord({bytes.constData(), std::size_t(bytes.size())});
    if (!decoded.record) {
        file.error = QString::fromStdString(decoded.error);
        return file;
    }
    file.record = std::move(decoded.record);
    file.bytes = std::move(bytes);
    return file;
}

} // namespace

FileForBoxes readChangeFile(const QByteArray& path) {
    FileContents contents = readWholeFile(path, kLongestChangeFile);
    if (!contents.bytes) {
        FileForBoxes file;
        file.error = QStringLiteral("cannot read: ") + contents.error;
        return file;
    }
    return decoded(std::move(*contents.bytes));
}

FileForBoxes openForBoxes(const QByteArray& path, const QLocale& locale,
                          const QByteArray& codePage) {
    FileForBoxes file = readChangeFile(path);
    if (!file.record) {
        return file;
    }
    // Absolute: the folder goes into Dir1, whose path must name the same folder whatever
    // the working directory is when make file runs.
    QString error;
    std::optional<FolderAndName> absolute = folderAndName(path, error);
    if (!absolute) {
        FileForBoxes failed;
        failed.error = QStringLiteral("cannot find its folder: ") + error;
        return failed;
    }
    file.folder = std::move(absolute->folder);
    file.name = std::move(absolute->name);
    file.texts = recordInBoxes(*file.record, locale, codePage);
    // A name that is not UTF-8 cannot be typed back: make file writes the name the box shows.
    const QString name = decodePath(file.name);
    file.texts.texts[std::size_t(Control::filenavn)] = name;
    if (encodedFileName(name) != file.name) {
        file.texts.replaced.push_back({Control::filenavn, shownPath(file.name), name});
    }
    return file;
}

FileForBoxes bytesForBoxes(const QByteArray& bytes, const QLocale& locale,
                           const QByteArray& codePage) {
    FileForBoxes file = decoded(bytes);
    if (file.record) {
        file.texts = recordInBoxes(*file.record, locale, codePage);
    }
    return file;
}

} // namespace pelomart
