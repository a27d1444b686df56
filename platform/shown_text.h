// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// Names and texts as the system holds them and as a person is shown them. Paths stay the
// bytes the system gave: a folder unpacked from an archive made elsewhere may be named in
// another encoding, and a path rebuilt from a decoded name would name some other file.
namespace pelomart {

// The bytes that name `name` on this system (UTF-8), or nothing when the name has a
// character those bytes cannot give back exactly, such as a lone surrogate: two such names
// would otherwise both become U+FFFD and name the same file.
std::optional<QByteArray> encodedFileName(const QString& name);

// A path's bytes as a text that gives the same bytes back: each byte that is no part of
// valid UTF-8 becomes U+DC80 + byte. No valid UTF-8 gives a lone surrogate, so such a
// character can only stand for a byte. nativeBytes is the way back.
QString argumentText(QByteArrayView bytes);
QByteArray nativeBytes(QStringView text);
// Whether the text holds such a byte: the bytes it came from were not all valid UTF-8.
bool hasEscapedBytes(QStringView text);
// A command line as the system gave it, each argument as argumentText makes it.
QStringList argumentsFrom(int argc, const char* const* argv);

// A path's bytes for a person to read: UTF-8 decoded, each byte that is not part of a
// valid sequence shown as "\xNN", and controls as shownText gives them.
QString shownPath(QByteArrayView path);

// The same, with the middle of a path longer than `longest` bytes left out ("…"): its
// beginning and its end, the file's name, still show.
QString shownPath(QByteArrayView path, qsizetype longest);

// A path given on the command line, as argumentText made it, for a person to read.
QString shownArgument(const QString& path);

// A text for a message: controls as "\xNN", a lone surrogate as "\uDNNN".
QString shownValue(const QString& text);

// "\xNN": how a byte or control character that cannot be shown as itself is written in
// every text shown to a person.
QString escapedByte(unsigned byte);

// The text with every C0 and C1 control character (and DEL) as "\xNN", so that a name
// cannot move a terminal's cursor, clear its screen or set its title. With
// `keepLineBreaks`, CR and LF stay as they are.
QString shownText(QStringView text, bool keepLineBreaks = false);

// The text as shownText gives it, cut to at most `longest` characters and ending in "…"
// where it was cut. Only the beginning is looked at, so a pasted page costs what a line does.
QString shownBeginning(QStringView text, qsizetype longest);

} // namespace pelomart
