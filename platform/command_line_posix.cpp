// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "command_line.h"
#include "shown_text.h"

namespace pelomart {

QStringList argumentsFrom(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << argumentText(argv[i]);
    }
    return arguments;
}

ConsoleText::ConsoleText() = default;
ConsoleText::~ConsoleText() = default;

} // namespace pelomart
