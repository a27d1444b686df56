// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "terminal_columns.h"

#include <clocale>
#include <cwchar>
#include <locale.h>

namespace pelomart {

// Measured with the C library's tables under C.UTF-8, whatever the user's locale, since
// what is measured is printed in UTF-8; where C.UTF-8 is missing, one column a character.
int terminalColumns(char32_t c) {
    static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    if (!utf8) {
        return 1;
    }
    const locale_t previous = ::uselocale(utf8);
    const int columns = ::wcwidth(wchar_t(c));
    ::uselocale(previous);
    return columns < 0 ? 1 : columns;
}

} // namespace pelomart
