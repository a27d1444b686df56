// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "form_controls.h"
#include "record_texts.h"

#include <QLocale>

namespace pelomart {

FieldTexts fieldTexts(const EditorFields& fields);
FieldTexts startFieldTexts();

// Whether replacing the boxes' texts would lose some that were typed: they are neither the
// start texts nor those of the last file made or opened. The fixed parameters do not count.
bool holdsTypedTexts(const FieldTexts& now, const FieldTexts& lastFile);

// Puts a record's texts into the boxes. Each text that differs goes in with setText, so
// paramlong1's behaviour brings the slider and sex into step as typing would; it also runs
// when the type's text is the one already shown.
void showRecordTexts(FormControls& form, const RecordTexts& texts,
                     const QLocale& locale = QLocale());

} // namespace pelomart
