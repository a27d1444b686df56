// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_tool.h"
#include "shown_text.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pelomart-chg"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELOMART_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Not QCoreApplication::arguments(): it decodes the bytes it cannot read as U+FFFD.
    return pelomart::chg::run(pelomart::argumentsFrom(argc, argv), out, err);
}
