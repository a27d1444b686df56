#pragma once

#include <QByteArray>
#include <QString>

// The single-byte code page through which texts become the record's bytes.
namespace pelomart {

// The code page's name ("windows-1252" ...) for a locale name such as "cs_CZ.UTF-8"
// or "sr_RS@latin": the one the desktop system of that language uses.
QByteArray codePageForLocaleName(const QString& localeName);

// The code page of the user's language, from LC_ALL, LC_CTYPE or LANG.
QByteArray systemCodePage();

// One byte per character; a character the code page cannot hold becomes one "?".
QByteArray toCodePage(const QString& text, const QByteArray& codePage = systemCodePage());

} // namespace pelomart
