// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "behaviour_codes.h"
#include "change_file_writer.h"
#include "editor_fields.h"

#include <QLocale>

namespace pelomart {

// "make file": reads the fields, composes the human's record and writes it,
// followed by CR LF, to the file named in filenavn inside Dir1's path. A failing
// step throws RunTimeError and the steps after it do not run; all reading and
// converting happens before the file system is touched. An error from a box's text
// names that box and its text (RunTimeError::control()); so does a text with a character
// that the code page lacks (InvalidArgument), which would otherwise become "?". `write`
// goes to the writer: what the caller read from the file, and the file's other names.
void makeChangeFile(EditorFields& fields, const QLocale& locale = QLocale(),
                    ChangeFileWrite* write = nullptr);

// What make file would write, and where: the path (the system's bytes) and the record
// followed by CR LF.
struct ComposedChangeFile {
    QByteArray path;
    QByteArray bytes;
};

// Every step of makeChangeFile but the write, with the same failures: a dry run that
// refuses exactly what make file refuses, and touches no file.
ComposedChangeFile composeChangeFile(EditorFields& fields, const QLocale& locale = QLocale());

} // namespace pelomart
