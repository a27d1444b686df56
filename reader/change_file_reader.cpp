// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_reader.h"

#include "human_record_reader.h"
#include "whole_file.h"

namespace pelomart {

OpenedChangeFile readChangeFile(const QByteArray& path) {
    FileContents contents = readWholeFile(path, kLongestChangeFile);
    if (!contents.bytes) {
        return {std::nullopt, QStringLiteral("cannot read: ") + contents.error, {}};
    }
    DecodedHumanRecord decoded =
        decodeHumanRecord({contents.bytes->constData(), std::size_t(contents.bytes->size())});
    if (!decoded.record) {
        return {std::nullopt, QString::fromStdString(decoded.error), std::move(*contents.bytes)};
    }
    return {std::move(decoded.record), {}, std::move(*contents.bytes)};
}

} // namespace pelomart
