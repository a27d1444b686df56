// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

class QTextStream;

namespace pelomart::chg {

// show --bytes for one file: a line per field with its offset, size, bytes in hex, name and
// value. False, with a message on `err`, for a file the reader refuses.
bool showBytes(const QString& path, const QByteArray& codePage, QTextStream& out, QTextStream& err);

} // namespace pelomart::chg
