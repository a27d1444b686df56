// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCommandLineParser>

class QTextStream;

namespace pelomart::chg {

// show: record -> texts, as a listing, as JSON for make, or byte by byte.
void describeShow(QCommandLineParser& parser);
// Runs with the parsed arguments; there is at least one positional argument.
int show(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

} // namespace pelomart::chg
