// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "change_file_writer.h"
#include "controls.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <optional>
#include <span>
#include <utility>

// Texts typed into a fresh window and make file pressed: the road that make and set share.
namespace pelomart::chg {

// One box and the text to type into it.
using TextForBox = std::pair<Control, QString>;

// The box of that name among those whose texts make a file, x to filenavn.
std::optional<Control> fieldNamed(const QString& key);

// The text as make file reads it from that box: a behaviour's name for its code, the
// script's line ends as CR LF. Nothing for a behaviour the list does not have; `refusal`
// then says why.
std::optional<QString> boxText(Control control, const QString& text, QString& refusal);

// Types the texts into a fresh window with Dir1 at `directory` and presses make file; a
// position, scale or rotation left out holds its start value written in `locale`.
// Returns why no file was made: a box whose behaviour would hold another text than the
// one given (so the file would not hold the value asked for), or the command's run-time
// error with the box and text it names. `write` goes to the writer (see ChangeFileWrite).
// With `composedOnly`, the file's bytes go there instead of to the file: every step but the
// write runs, and no file is touched.
std::optional<QString> makeFromTexts(std::span<const TextForBox> texts, const QByteArray& directory,
                                     const QLocale& locale, ChangeFileWrite* write = nullptr,
                                     QByteArray* composedOnly = nullptr);

// The warning for a file replaced under one name while `otherNames` hard links keep the old
// record; empty when it had no other name.
QString otherNamesWarning(const QString& shownPath, qint64 otherNames);

} // namespace pelomart::chg
