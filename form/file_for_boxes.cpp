// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "file_for_boxes.h"

#include "change_file_reader.h"
#include "human_record_reader.h"
#include "paths.h"
#include "shown_text.h"

namespace pelomart {

FileForBoxes openForBoxes(const QByteArray& path, const QLocale& locale,
                          const QByteArray& codePage) {
    FileForBoxes file;
    OpenedChangeFile opened = readChangeFile(path);
    if (!opened.record) {
        file.error = opened.error;
        return file;
    }
    // Absolute: the folder goes into Dir1, whose path must name the same folder whatever
    // the working directory is when make file runs.
    QString error;
    std::optional<FolderAndName> absolute = folderAndName(path, error);
    if (!absolute) {
        file.error = QStringLiteral("cannot find its folder: ") + error;
        return file;
    }
    file.folder = std::move(absolute->folder);
    file.name = std::move(absolute->name);
    file.texts = recordTexts(*opened.record, locale, codePage);
    // A name that is not UTF-8 cannot be typed back: make file writes the name the box shows.
    const QString name = decodePath(file.name);
    file.texts.texts[std::size_t(Control::filenavn)] = name;
    if (encodedFileName(name) != file.name) {
        file.texts.replaced.push_back({Control::filenavn, shownPath(file.name), name});
    }
    file.record = std::move(opened.record);
    file.bytes = std::move(opened.bytes);
    return file;
}

FileForBoxes bytesForBoxes(const QByteArray& bytes, const QLocale& locale,
                           const QByteArray& codePage) {
    FileForBoxes file;
    DecodedHumanRecord decoded = decodeHumanRecord({bytes.constData(), std::size_t(bytes.size())});
    if (!decoded.record) {
        file.error = QString::fromStdString(decoded.error);
        return file;
    }
    file.texts = recordTexts(*decoded.record, locale, codePage);
    file.record = std::move(decoded.record);
    file.bytes = bytes;
    return file;
}

} // namespace pelomart
