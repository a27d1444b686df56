// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "system_code_page.h"

#include <windows.h>

namespace pelomart {
namespace {

// The number of a "windows-N" name, 0 for any other.
UINT codePageNumber(const QByteArray& codePage) {
    if (!codePage.startsWith("windows-")) {
        return 0;
    }
    bool number = false;
    const uint value = codePage.mid(8).toUInt(&number);
    return number ? value : 0;
}

} // namespace

// The system's ANSI code page, the one every program that is not Unicode uses here.
QByteArray systemCodePage() {
    return "windows-" + QByteArray::number(::GetACP());
}

// From Windows' own converters (this Qt has no ICU to name a code page by). A byte counts
// only where it gives one character and that character alone gives the byte back with no
// best fit: WideCharToMultiByte would otherwise write "l" for "ł" in code page 1252. Where
// Windows fills a gap of the code page with a private-use character, the byte stands for
// none, as it does on Linux; the C1 controls that fill the gaps of code page 1252 count, as
// they do there too.
std::array<std::int32_t, 0x100> codePageCharacters(const QByteArray& codePage) {
    std::array<std::int32_t, 0x100> characters;
    characters.fill(-1);
    const UINT number = codePageNumber(codePage);
    if (number == 0 || !::IsValidCodePage(number)) {
        for (int code = 0; code < 0x80; ++code) {
            characters[code] = code;
        }
        return characters;
    }
    for (int value = 0; value < 0x100; ++value) {
        const char byte = static_cast<char>(value);
        wchar_t wide[2];
        if (::MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, &byte, 1, wide, 2) != 1) {
            continue;
        }
        const char16_t character = char16_t(wide[0]);
        const bool gap = (character >= 0xE000 && character <= 0xF8FF) ||
                         (character >= 0xD800 && character <= 0xDFFF);
        if (gap) {
            continue;
        }
        char back[4];
        BOOL usedDefault = FALSE;
        const int length = ::WideCharToMultiByte(number, WC_NO_BEST_FIT_CHARS, wide, 1, back,
                                                 sizeof back, nullptr, &usedDefault);
        if (length == 1 && !usedDefault && back[0] == byte) {
            characters[value] = character;
        }
    }
    return characters;
}

} // namespace pelomart
