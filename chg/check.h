// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCommandLineParser>

class QTextStream;

namespace pelomart::chg {

// check: reads and checks files, and says why each bad one is refused.
void describeCheck(QCommandLineParser& parser);
// Runs with the parsed arguments; there is at least one positional argument.
int check(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

} // namespace pelomart::chg
