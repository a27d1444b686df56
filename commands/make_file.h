#pragma once

#include "editor_fields.h"

#include <QLocale>

namespace pelomart {

// Behaviour code for the text of the behaviour list; 2 when nothing matches.
int behaviourCode(const QString& name);

// "make file": reads the fields, composes the human's record and writes it,
// followed by CR LF, to the file named in filenavn inside Dir1's path. A failing
// step throws RunTimeError and the steps after it do not run; all reading and
// converting happens before the file system is touched.
void Command4_Click(EditorFields& fields, const QLocale& locale = QLocale());

} // namespace pelomart
