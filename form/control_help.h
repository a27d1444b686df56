// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "code_page.h"
#include "editor_fields.h"

#include <QLocale>
#include <QString>

// What each control of the window holds and how make file reads it: the texts of the
// tooltips, which are also what a screen reader hears as the controls' descriptions.
namespace pelomart {

// The most characters the script can have with the internal name and the 3D model name as
// they are now: a record is at most 32,767 bytes, and each character of a text takes one
// byte of the code page. Below zero when the names alone are too long.
qsizetype scriptRoom(const EditorFields& fields, const QByteArray& codePage = systemCodePage());
// How this system writes a number: "a number, written like 0,5 here".
QString numberNotation(const QLocale& locale);

// A path in a tooltip keeps at most this many of its bytes.
inline constexpr qsizetype kLongestShownPath = 120;

// The tooltip of `control` for the fields as they are: for an input control what it holds
// and how it is read; for Command4 the file that it writes; for Label1 the script's room.
// Empty for the other controls.
QString controlHelp(Control control, const EditorFields& fields, const QLocale& locale = QLocale());

// The help of a box too narrow to show its `text` whole: the text's beginning first.
QString withCutText(const QString& help, const QString& text);

} // namespace pelomart
