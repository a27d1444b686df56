// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "behaviour_codes.h"
#include "editor_fields.h"

#include <QLocale>

namespace pelomart {

// "make file": reads the fields, composes the human's record and writes it,
// followed by CR LF, to the file named in filenavn inside Dir1's path. A failing
// step throws RunTimeError and the steps after it do not run; all reading and
// converting happens before the file system is touched. An error from a box's text
// names that box and its text (RunTimeError::control()).
void Command4_Click(EditorFields& fields, const QLocale& locale = QLocale());

} // namespace pelomart
