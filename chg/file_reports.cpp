// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "file_reports.h"

#include "shown_text.h"
#include "whole_file.h"

#include <QTextStream>

namespace pelomart::chg {

std::optional<QByteArray> readWholeFileOrReport(const QString& path, qint64 longest,
                                                QTextStream& err) {
    FileContents contents = readWholeFile(nativeBytes(path), longest);
    if (!contents.bytes) {
        err << shownArgument(path) << ": cannot read: " << contents.error << Qt::endl;
    }
    return std::move(contents.bytes);
}

std::optional<FileForBoxes> readChangeFileOrReport(const QString& path, QTextStream& err) {
    FileForBoxes opened = readChangeFile(nativeBytes(path));
    if (!opened.record) {
        err << shownArgument(path) << ": " << opened.error << Qt::endl;
        return std::nullopt;
    }
    return opened;
}

std::optional<FileForBoxes> openForBoxesOrReport(const QString& path, const QLocale& locale,
                                                 const QByteArray& codePage, QTextStream& err) {
    FileForBoxes file = openForBoxes(nativeBytes(path), locale, codePage);
    if (!file.record) {
        err << shownArgument(path) << ": " << file.error << Qt::endl;
        return std::nullopt;
    }
    return file;
}

} // namespace pelomart::chg
