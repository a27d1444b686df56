// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

namespace pelomart {

// While it lives, a console shows in full the UTF-8 that the program writes to standard
// output and error: on Windows the console's output code page is UTF-8 for that time, and
// the one it had comes back afterwards. On Linux a terminal takes UTF-8 as it is.
class ConsoleText {
public:
    ConsoleText();
    ConsoleText(const ConsoleText&) = delete;
    ConsoleText& operator=(const ConsoleText&) = delete;
    ~ConsoleText();

private:
    unsigned m_previous = 0;
};

} // namespace pelomart
