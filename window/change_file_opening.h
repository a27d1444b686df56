// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "field_texts.h"

#include <QByteArray>
#include <QList>
#include <optional>

class QWidget;

// How a change file reaches the window's boxes: from the command line, Ctrl+O's dialog or
// a drop. The boxes' texts come from the form; this asks, shows and reports.
namespace pelomart {

class Form1;

// Ctrl+O's dialog, in `directory`: the chosen file as the system's bytes; nothing when the
// user cancels.
std::optional<QByteArray> chooseChangeFile(QWidget* parent, const QByteArray& directory);

// Puts the values of the change file at `path` (the system's bytes) into the boxes and
// makes its folder Dir1's current one, after asking when typed texts would be lost;
// `lastFile` then holds the boxes' texts. A file that cannot be opened changes nothing and
// is reported.
void openChangeFile(Form1& form, const QByteArray& path, FieldTexts& lastFile);

// A drop opens one file; more than one opens none, and says so.
void openDroppedFiles(Form1& form, const QList<QByteArray>& files, FieldTexts& lastFile);

} // namespace pelomart
