// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

class QTextStream;

namespace pelomart::chg {

// What readJsonValues finds, handed over as it reads: each value of the top level or of its
// array, and each member of an object as given, so that a key given twice can be refused.
// Nothing is held for a value once it has been handed over, so the memory needed is the
// file's bytes and what the receiver keeps.
class JsonValueReader {
public:
    virtual ~JsonValueReader() = default;
    // A value begins: an object, or anything else.
    virtual void begin(bool isObject) = 0;
    // A member of that object: its key, and its text when the value is a string.
    virtual void member(const QString& key, const std::optional<QString>& text) = 0;
    // The value has ended.
    virtual void end() = 0;
};

// Reads the JSON file at `path` ("-" is standard input) into `reader`. False, with a
// message on `err` that names the file, when the file cannot be read, is longer than
// `longest` bytes, is not JSON (with the offset, from 0, of the byte where it goes wrong),
// or holds neither an object nor an array; what was handed over before that was found is
// then no part of a good file.
bool readJsonValues(const QString& path, qint64 longest, QTextStream& err, JsonValueReader& reader);

} // namespace pelomart::chg
