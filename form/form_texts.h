// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "form_controls.h"

#include <QLocale>
#include <QString>
#include <array>

namespace pelomart {

struct RecordInBoxes;

// What every input box shows, x to filenavn, indexed by Control.
using FormTexts = std::array<QString, kEditorFields.size()>;

FormTexts formTexts(const EditorFields& fields);
FormTexts startFormTexts();

// Whether replacing the boxes' texts would lose some that were typed: they are neither the
// start texts nor those of the last file made or opened. The fixed parameters do not count.
bool holdsTypedTexts(const FormTexts& now, const FormTexts& lastFile);

// Puts a record's texts into the boxes. Each text that differs goes in with setText, so
// paramlong1's behaviour brings the slider and sex into step as typing would; it also runs
// when the type's text is the one already shown.
void fillBoxes(FormControls& form, const RecordInBoxes& texts, const QLocale& locale = QLocale());

} // namespace pelomart
