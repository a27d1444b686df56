// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCommandLineParser>

class QTextStream;

namespace pelomart::chg {

// make: texts -> files.
void describeMake(QCommandLineParser& parser);
// Runs with the parsed arguments; there is at least one positional argument.
int make(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

} // namespace pelomart::chg
