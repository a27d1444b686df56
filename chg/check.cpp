// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "commands.h"

#include "change_file_reader.h"
#include "code_page.h"
#include "whole_file.h"

#include <QTextStream>

namespace pelomart::chg {

std::optional<QByteArray> readWholeFileOrReport(const QString& path, qint64 longest,
                                                QTextStream& err) {
    FileContents contents = readWholeFile(nativeBytes(path), longest);
    if (!contents.bytes) {
        err << shownArgument(path) << ": cannot read: " << contents.error << Qt::endl;
    }
    return std::move(contents.bytes);
}

std::optional<FileForBoxes> openForBoxesOrReport(const QString& path, const QLocale& locale,
                                                 const QByteArray& codePage, QTextStream& err) {
    FileForBoxes file = openForBoxes(nativeBytes(path), locale, codePage);
    if (!file.record) {
        err << shownArgument(path) << ": " << file.error << Qt::endl;
        return std::nullopt;
    }
    return file;
}

void describeCheck(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Checks change files; prints why each bad one is refused."));
    parser.addOption({{QStringLiteral("v"), QStringLiteral("verbose")},
                      QStringLiteral("Name the good files too.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Change files."),
                                 QStringLiteral("FILE..."));
}

int check(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    const QByteArray codePage = systemCodePage();
    int status = kSuccess;
    for (const QString& path : parser.positionalArguments()) {
        if (!openForBoxesOrReport(path, QLocale::c(), codePage, err)) {
            status = kFileFailed;
        } else if (parser.isSet(QStringLiteral("verbose"))) {
            out << shownArgument(path) << ": ok\n";
        }
    }
    return status;
}

} // namespace pelomart::chg
