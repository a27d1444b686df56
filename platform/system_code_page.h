// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace pelomart {

// The code page's name ("windows-1252" ...) for a locale name such as "cs_CZ.UTF-8"
// or "sr_RS@latin": the one the desktop system of that language uses.
QByteArray codePageForLocaleName(const QString& localeName);

// The code page of the user's language: on Linux from LC_ALL, LC_CTYPE or LANG.
QByteArray systemCodePage();

// The character each byte stands for in the code page, as the system's own converter has
// it: -1 for a byte that stands for none, or for one whose character the converter would
// not write back as that byte alone. An unknown code page keeps what every one of them
// shares, ASCII.
std::array<std::int32_t, 0x100> codePageCharacters(const QByteArray& codePage);

} // namespace pelomart
