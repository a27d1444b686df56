// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "human_record.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace pelomart {

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
