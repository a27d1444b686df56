// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCommandLineParser>

class QTextStream;

namespace pelomart::chg {

// list: one aligned line per file.
void describeList(QCommandLineParser& parser);
// Runs with the parsed arguments; there is at least one positional argument.
int list(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

} // namespace pelomart::chg
