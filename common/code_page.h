// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "system_code_page.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The single-byte code page through which texts become the record's bytes; which code page
// the user's is, and the character of each of its bytes, come from the system.
namespace pelomart {

// One byte per character; a character the code page cannot hold becomes one "?".
QByteArray toCodePage(const QString& text, const QByteArray& codePage = systemCodePage());

// The position in `text` of the first character that the code page cannot hold (the high
// half of a pair for a character beyond the BMP), or -1 when it holds every one.
qsizetype missingCharacter(QStringView text, const QByteArray& codePage = systemCodePage());

// The inverse of toCodePage: each byte becomes the character it stands for in the code
// page. A byte the code page defines no character for becomes the four characters "\xNN"
// (its value in upper-case hex) and, when `undefined` is given, its offset in `bytes` is
// appended there, which tells such a byte from a text that spells "\x" itself.
QString fromCodePage(QByteArrayView bytes, const QByteArray& codePage = systemCodePage(),
                     QList<qsizetype>* undefined = nullptr);

} // namespace pelomart
