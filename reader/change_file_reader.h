// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "human_record.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace pelomart {

class SystemCalls;

// A file's whole contents, or why it cannot be read ("a directory", "a FIFO", "longer than
// N bytes", the system's reason). `path` is the system's bytes for the file.
struct FileContents {
    std::optional<QByteArray> bytes;
    QString error;
};

// Reads at most `longest` bytes. Anything but a regular file is refused before a byte is
// read, and the open cannot block: a FIFO or a device named by mistake never hangs the
// caller. A file longer than `longest` is refused, having read at most one byte more.
FileContents readWholeFile(const QByteArray& path, qint64 longest);
// The same, with every system call made through `calls`.
FileContents readWholeFile(const QByteArray& path, qint64 longest, SystemCalls& calls);

// A change file holds at most the longest record and its line end.
inline constexpr qint64 kLongestChangeFile = kMaxRecordLength + 2;

// A change file's record, or why it is none: "cannot read: " and the message of
// readWholeFile, or the reader's, which names the byte offset ("offset 129: human kind:
// expected 6, found 7").
struct OpenedChangeFile {
    std::optional<HumanRecord> record;
    QString error;
    // The file as read, for a writer that replaces it only if it still holds these bytes.
    QByteArray bytes;
};

OpenedChangeFile readChangeFile(const QByteArray& path);

} // namespace pelomart
