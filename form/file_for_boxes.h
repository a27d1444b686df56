// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "human_record.h"
#include "record_in_boxes.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <optional>

namespace pelomart {

// A change file holds at most the longest record and its line end.
inline constexpr qint64 kLongestChangeFile = kMaxRecordLength + 2;

// A change file as read: its bytes and record, or why it is none; opened for the boxes,
// also what the window shows and what make file writes again.
struct FileForBoxes {
    std::optional<HumanRecord> record;
    // Why there is no record: "cannot read: " and why (a directory, a FIFO, too long, the
    // system's reason), or the reader's message, which names the byte offset ("offset 129:
    // human kind: expected 6, found 7").
    QString error;
    // filenavn holds the file's name as make file writes it; a name that is not UTF-8 is
    // among the replaced values, after the record's own.
    RecordInBoxes texts;
    QByteArray folder; // absolute, the system's bytes
    QByteArray name;   // the system's bytes
    // The file as read, for a writer that replaces it only if it still holds these bytes.
    QByteArray bytes;
};

// Reads the change file at `path` (the system's bytes) and gives its texts as recordInBoxes
// does under `locale` and `codePage`, with its folder and name.
FileForBoxes openForBoxes(const QByteArray& path, const QLocale& locale,
                          const QByteArray& codePage);

// Only the bytes and the record, or the error: for a caller that checks or lists files and
// shows no boxes, which need not pay for their texts.
FileForBoxes readChangeFile(const QByteArray& path);

// The same for a change file's bytes already in memory, such as those make file composed;
// no folder and no name.
FileForBoxes bytesForBoxes(const QByteArray& bytes, const QLocale& locale,
                           const QByteArray& codePage);

} // namespace pelomart
