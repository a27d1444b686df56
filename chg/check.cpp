// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "check.h"

#include "change_file_tool.h"
#include "file_reports.h"
#include "shown_text.h"

#include <QTextStream>

namespace pelomart::chg {

void describeCheck(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Checks change files; prints why each bad one is refused."));
    parser.addOption({{QStringLiteral("v"), QStringLiteral("verbose")},
                      QStringLiteral("Name the good files too.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Change files."),
                                 QStringLiteral("FILE..."));
}

int check(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    int status = kSuccess;
    // The strict reader alone: a record's texts as the boxes would hold them are of no use here.
    for (const QString& path : parser.positionalArguments()) {
        if (!readChangeFileOrReport(path, err)) {
            status = kFileFailed;
        } else if (parser.isSet(QStringLiteral("verbose"))) {
            out << shownArgument(path) << ": ok\n";
        }
    }
    return status;
}

} // namespace pelomart::chg
