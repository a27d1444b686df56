// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "commands.h"

#include "change_file_reader.h"

#include <QTextStream>

namespace pelomart::chg {

std::optional<QByteArray> readWholeFile(const QString& path, qint64 longest, QTextStream& err) {
    FileContents contents = pelomart::readWholeFile(nativeBytes(path), longest);
    if (!contents.bytes) {
        err << shownArgument(path) << ": cannot read: " << contents.error << Qt::endl;
    }
    return std::move(contents.bytes);
}

std::optional<HumanRecord> readChangeFile(const QString& path, QTextStream& err,
                                          QByteArray* bytes) {
    OpenedChangeFile opened = pelomart::readChangeFile(nativeBytes(path));
    if (!opened.record) {
        err << shownArgument(path) << ": " << opened.error << Qt::endl;
    }
    if (bytes) {
        *bytes = std::move(opened.bytes);
    }
    return std::move(opened.record);
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
    int status = kSuccess;
    for (const QString& path : parser.positionalArguments()) {
        if (!readChangeFile(path, err)) {
            status = kFileFailed;
        } else if (parser.isSet(QStringLiteral("verbose"))) {
            out << shownArgument(path) << ": ok\n";
        }
    }
    return status;
}

} // namespace pelomart::chg
