// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace pelomart {

// The script as the program reads it from the script box: CR LF between lines. A lone CR
// or LF, a line separator (U+2028) or a paragraph separator (U+2029) is a line break
// there, whether typed, pasted or given on the command line.
QString scriptWithCrLf(QString script);

} // namespace pelomart
