// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "script_text.h"

namespace pelomart {

QString scriptWithCrLf(QString script) {
    script.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QChar lineBreak :
         {u'\r', char16_t(QChar::LineSeparator), char16_t(QChar::ParagraphSeparator)}) {
        script.replace(lineBreak, QLatin1Char('\n'));
    }
    script.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return script;
}

} // namespace pelomart
