// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

class QCommandLineParser;

namespace pelomart {

// The parser's help with its usage line naming `program` ("pelomart-chg show") rather than
// the path the program was started by, which Qt puts there.
QString helpText(const QCommandLineParser& parser, const QString& program);

} // namespace pelomart
