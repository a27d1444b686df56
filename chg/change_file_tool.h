// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

class QTextStream;

// pelomart-chg: shows, checks and makes change files from the command line, over the same
// reader, make-file command and in-memory form as the window.
namespace pelomart::chg {

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kFileFailed = 1;
inline constexpr int kUsageError = 2;

// Runs one command line (arguments[0] is the program). Results go to `out`; messages,
// each beginning with the file's name, go to `err`. Returns the exit status.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace pelomart::chg
