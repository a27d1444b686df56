// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCommandLineParser>
#include <QLocale>
#include <QString>
#include <optional>

class QTextStream;

namespace pelomart::chg {

// The --locale option that make and set share.
void addLocaleOption(QCommandLineParser& parser);
// The locale it names; plainNotation() when not given or given as C or POSIX (with or
// without a character set), whatever the environment; nothing (with a message) for a name
// Qt does not know.
std::optional<QLocale> localeOption(const QCommandLineParser& parser, const QString& command,
                                    QTextStream& err);

} // namespace pelomart::chg
