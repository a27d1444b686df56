// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "help_text.h"

#include <QCommandLineParser>

namespace pelomart {

QString helpText(const QCommandLineParser& parser, const QString& program) {
    QString help = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const qsizetype usageEnd = help.indexOf(QStringLiteral(" [options]"));
    if (help.startsWith(usage) && usageEnd >= usage.size()) {
        help.replace(usage.size(), usageEnd - usage.size(), program);
    }
    return help;
}

} // namespace pelomart
