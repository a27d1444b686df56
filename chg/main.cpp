// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_tool.h"
#include "command_line.h"
#include "shown_text.h"
#include "standard_input.h"

#include <QCoreApplication>
#include <QTextStream>
#include <exception>
#include <new>

int main(int argc, char* argv[]) {
    // Before QCoreApplication opens its first descriptor, which would take a closed 0.
    pelomart::claimStandardInput();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pelomart-chg"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELOMART_VERSION));
    const pelomart::ConsoleText console;
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Whatever a command did not foresee (memory running out, a library's exception) ends
    // the run with a message and the status of a failed file, never with an abort.
    try {
        // Not QCoreApplication::arguments(): it decodes the bytes it cannot read as U+FFFD.
        return pelomart::chg::run(pelomart::argumentsFrom(argc, argv), out, err);
    } catch (const std::bad_alloc&) {
        out.flush();
        err << "pelomart-chg: out of memory" << Qt::endl;
    } catch (const std::exception& error) {
        out.flush();
        err << "pelomart-chg: " << pelomart::shownText(QString::fromLocal8Bit(error.what()))
            << Qt::endl;
    } catch (...) {
        out.flush();
        err << "pelomart-chg: an unexpected error" << Qt::endl;
    }
    return pelomart::chg::kFileFailed;
}
