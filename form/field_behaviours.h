// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "form_controls.h"

#include <QLocale>

// The window's reactions that keep the type parameter, its slider and labels, and the
// script-length label in step. Each runs to its end; a failing step throws RunTimeError.
namespace pelomart {

// The type parameter is held at 31 or below; the slider and "man"/"woman" follow it. The
// text is judged as make file reads it under `locale`, so the slider and the label show the
// type the file gets.
void paramlong1_Change(FormControls& form, const QLocale& locale = QLocale());
// The slider's value is copied into the type parameter.
void Slider1_Click(FormControls& form);
// Label1 shows the script's length.
void script_Change(FormControls& form);

} // namespace pelomart
