// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "file_for_boxes.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <optional>

class QTextStream;

// The readers of files named on the command line, each with the message that the commands
// print when a file cannot be used: the file's name, then why.
namespace pelomart::chg {

// The whole of a file of at most `longest` bytes, or a message on `err` that names the
// file and why it cannot be read: missing, unreadable, not a regular file, too long.
std::optional<QByteArray> readWholeFileOrReport(const QString& path, qint64 longest,
                                                QTextStream& err);

// The change file's record as the strict reader takes it, or a message on `err` that names
// the file and why it is refused, with the byte offset.
std::optional<FileForBoxes> readChangeFileOrReport(const QString& path, QTextStream& err);

// The change file opened as the window opens it, or a message on `err` as above.
std::optional<FileForBoxes> openForBoxesOrReport(const QString& path, const QLocale& locale,
                                                 const QByteArray& codePage, QTextStream& err);

} // namespace pelomart::chg
