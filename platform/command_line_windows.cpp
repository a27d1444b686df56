// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "command_line.h"
#include "shown_text.h"

#include <QCoreApplication>

#include <windows.h>

namespace pelomart {

// Qt's arguments, from the UTF-16 command line: argv holds the ANSI code page's bytes,
// which lose every character that the code page lacks. The application has taken its own
// options (-platform ...) out of them, as out of argv.
QStringList argumentsFrom(int, const char* const*) {
    QStringList arguments;
    for (const QString& argument : QCoreApplication::arguments()) {
        arguments << argumentText(argument.toUtf8());
    }
    return arguments;
}

ConsoleText::ConsoleText() : m_previous(::GetConsoleOutputCP()) {
    if (m_previous != 0) {
        ::SetConsoleOutputCP(CP_UTF8);
    }
}

ConsoleText::~ConsoleText() {
    if (m_previous != 0) {
        ::SetConsoleOutputCP(m_previous);
    }
}

} // namespace pelomart
