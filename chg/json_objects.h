// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

class QTextStream;

namespace pelomart::chg {

// A member of a JSON object as given: its key, and its text when the value is a string.
struct Member {
    QString key;
    std::optional<QString> text;
};

// A value of the top level or of its array, with the members when it is an object.
struct JsonValue {
    bool isObject = false;
    std::vector<Member> members;
};

// The values of a JSON file, each member of an object as given, so that a key given twice
// can be refused; "-" reads standard input. Nothing, with a message on `err` that names the
// file, when the file cannot be read, is longer than `longest` bytes, is not JSON, or holds
// neither an object nor an array.
std::optional<std::vector<JsonValue>> readJsonValues(const QString& path, qint64 longest,
                                                     QTextStream& err);

} // namespace pelomart::chg
